#pragma once
// The picture's pixel memory as a top-down 32-bit DIB section: the frame source draws
// straight into the section's bits, and the presenter copies the same bitmap to the
// window, so a frame is never copied twice. The section stays selected in a memory
// device context of its own for its whole life: making a context and selecting the
// section for every copy cost more than a small copy itself.
#include <windows.h>

#include "platform/gdi_holders_win.h"
#include "playback/frame_source.h"

class TDibPictureMemory : public TPictureMemory {
public:
  TDibPictureMemory() = default;
  TDibPictureMemory(const TDibPictureMemory&) = delete;
  TDibPictureMemory& operator=(const TDibPictureMemory&) = delete;

  // Releases the section made before, then makes a black width x height section at
  // 32 bits per pixel whatever the segment's depth (24 or 32). Returns its view (rows
  // width x 4 bytes apart), or an empty view for another depth, a size that is not
  // positive or when GDI cannot make the section or select it.
  TkoPictureView Make(int32_t width, int32_t height, int32_t depth) override;
  void Release() override;

  // A memory device context (compatible with the screen) holding the section, to copy
  // from; null when no section is made.
  HDC SourceDC() const { return FSelection.Selected() ? FSourceDC.Get() : nullptr; }
  // The view Make returned last; empty when none is made.
  const TkoPictureView& View() const { return FView; }

private:
  TMemoryDC FSourceDC;
  TGdiObject<HBITMAP> FBitmap;
  TSelection FSelection{nullptr, nullptr};  // the section in FSourceDC; after FBitmap, so it ends first
  TkoPictureView FView;
};
