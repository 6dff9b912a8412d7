#pragma once
// The picture's pixel memory as a top-down 32-bit DIB section: the frame source draws
// straight into the section's bits, and the presenter copies the same bitmap to the
// window, so a frame is never copied twice.
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
  // positive or when GDI cannot make the section.
  TkoPictureView Make(int32_t width, int32_t height, int32_t depth) override;
  void Release() override;

  // The section, for selecting into a memory device context; null when none is made.
  HBITMAP Bitmap() const { return FBitmap.Get(); }
  // The view Make returned last; empty when none is made.
  const TkoPictureView& View() const { return FView; }

private:
  TGdiObject<HBITMAP> FBitmap;
  TkoPictureView FView;
};
