#pragma once
// One recorded mouse-pointer image, decoded from a cursor record of a segment's data
// file into two portable planes, which the playback layer draws onto its pictures:
//   record: i32 hot-spot x, i32 hot-spot y, mask info (i32 size, i32 width,
//   i32 height, u8 bits per pixel), mask bits (rows padded to 16 bits), colour info
//   (same four fields), colour bits (top row first, rows padded to 4 bytes).
// A size of 0 or less means that part is absent; a record with neither is an empty
// slot of 34 bytes. Without colour the cursor is monochrome: its 1-bit mask is twice
// as high as the image, the AND half above the XOR half.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "film/ko_stream.h"

// A w x h plane of 32-bit values, top row first, Width values per row.
struct TkoCursorPlane {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint32_t> Pixels;

  bool IsEmpty() const { return Pixels.empty(); }
  uint32_t At(int32_t x, int32_t y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
};

class TkoCursor {
public:
  // Results of Load.
  static constexpr int kLoaded = 0;
  static constexpr int kOutOfMemory = 2;
  static constexpr int kNoImage = 4;

  // Largest mask or colour width and height accepted; larger records are damaged.
  static constexpr int32_t kMaxSide = 1024;
  // Largest bits block read from a record (a 32-bit kMaxSide square).
  static constexpr int32_t kMaxBitsSize = kMaxSide * kMaxSide * 4;
  // Size of a record without mask bits and colour bits.
  static constexpr int32_t kEmptyRecordSize = 34;

  struct TInfo {
    int32_t Size = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    uint8_t BitsPerPixel = 0;
  };

  TkoCursor() = default;

  // Reads one cursor record from the stream's position. Returns kLoaded (also for an
  // empty slot), kOutOfMemory, or kNoImage when the record is damaged: it ends early,
  // a size is larger than kMaxBitsSize or does not match its width, height and bits
  // per pixel, a side is not 1 .. kMaxSide, the mask is not 1 bit per pixel, the colour
  // is not 1, 24 or 32 bits per pixel, a monochrome mask has an odd height, or colour
  // comes without a mask. Damage() then says why. Never throws.
  // When RecordConsumed() is true afterwards the stream stands right after the record
  // (every damaged record whose sizes are within kMaxBitsSize and whose bytes are all
  // there); otherwise the position is somewhere inside it and the records after it
  // cannot be found.
  int Load(TkoStream& stream);
  // Forgets the image and both infos; the cursor then draws nothing.
  void Clear();

  // The mask's width and height (a monochrome mask is twice as high as the image).
  int32_t Width() const { return FMask.Width; }
  int32_t Height() const { return FMask.Height; }
  // The extent drawing can touch from the image's top-left corner: the larger of the
  // planes' sizes (a colour image may be larger than its mask).
  int32_t DrawWidth() const { return std::max(FAnd.Width, FXor.Width); }
  int32_t DrawHeight() const { return std::max(FAnd.Height, FXor.Height); }
  int32_t HotSpotX() const { return FHotSpotX; }
  int32_t HotSpotY() const { return FHotSpotY; }
  const TInfo& MaskInfo() const { return FMask; }
  const TInfo& ColourInfo() const { return FColour; }
  // True when there is nothing to draw (a failed load or an empty slot).
  bool IsEmpty() const { return FAnd.IsEmpty() && FXor.IsEmpty(); }
  bool IsColour() const { return FColour.Size > 0; }
  bool RecordConsumed() const { return FConsumed; }
  // Why the last Load returned kNoImage or kOutOfMemory; empty after a good load.
  const std::string& Damage() const { return FDamage; }

  // 0xFFFFFFFF keeps the picture's pixel, 0 makes it black.
  const TkoCursorPlane& AndPlane() const { return FAnd; }
  // Colours 0x00RRGGBB combined with the picture by exclusive or.
  const TkoCursorPlane& XorPlane() const { return FXor; }

private:
  int Fail(int status, std::string why);
  int Decode(const std::vector<uint8_t>& maskBits, const std::vector<uint8_t>& colourBits);

  int32_t FHotSpotX = 0;
  int32_t FHotSpotY = 0;
  TInfo FMask;
  TInfo FColour;
  TkoCursorPlane FAnd;
  TkoCursorPlane FXor;
  bool FConsumed = false;
  std::string FDamage;
};
