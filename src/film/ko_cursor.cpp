#include "film/ko_cursor.h"

#include <algorithm>
#include <new>

#include "film/ko_error.h"
#include "film/little_endian.h"

namespace {
constexpr uint32_t kKeep = 0xFFFFFFFFu;
constexpr uint32_t kWhite = 0x00FFFFFFu;

// Reads the 13-byte size, width, height, bits-per-pixel block.
TkoCursor::TInfo InfoAt(const uint8_t* p) {
  return {ReadI32LE(p), ReadI32LE(p + 4), ReadI32LE(p + 8), p[12]};
}

bool ReadAll(TkoStream& stream, void* buffer, int32_t count) {
  return count == 0 || stream.Read(buffer, count) == count;
}

// Mask rows are padded to 16 bits, colour rows to 32 bits.
int64_t RowBytes(const TkoCursor::TInfo& info, int32_t alignBits) {
  const int64_t bits = int64_t{info.Width} * info.BitsPerPixel;
  return (bits + alignBits - 1) / alignBits * (alignBits / 8);
}

bool SideOk(int32_t side) { return side >= 1 && side <= TkoCursor::kMaxSide; }

std::string InfoText(const char* what, const TkoCursor::TInfo& info) {
  return FormatText("%s of %d bytes for %d x %d at %d bits per pixel", what, info.Size,
                    info.Width, info.Height, info.BitsPerPixel);
}

// One bit of a 1-bit row, leftmost pixel in the high bit.
bool BitAt(const uint8_t* row, int32_t x) { return (row[x >> 3] >> (7 - (x & 7))) & 1; }

// Rows [firstRow, firstRow + plane.Height) of 1-bit data to set and clear values.
void PlaneFromBits(TkoCursorPlane& plane, const uint8_t* bits, int64_t rowBytes,
                   int32_t firstRow, uint32_t set, uint32_t clear) {
  for (int32_t y = 0; y < plane.Height; ++y) {
    const uint8_t* row = bits + (firstRow + y) * rowBytes;
    for (int32_t x = 0; x < plane.Width; ++x)
      plane.Pixels[static_cast<size_t>(y) * plane.Width + x] = BitAt(row, x) ? set : clear;
  }
}

void Allocate(TkoCursorPlane& plane, int32_t width, int32_t height) {
  plane.Width = width;
  plane.Height = height;
  plane.Pixels.assign(static_cast<size_t>(width) * height, 0);
}

}  // namespace

void TkoCursor::Clear() {
  FHotSpotX = FHotSpotY = 0;
  FMask = FColour = TInfo{};
  FAnd = FXor = TkoCursorPlane{};
  FConsumed = false;
  FDamage.clear();
}

int TkoCursor::Fail(int status, std::string why) {
  FAnd = FXor = TkoCursorPlane{};
  FDamage = "Cursor record: " + why;
  return status;
}

int TkoCursor::Load(TkoStream& stream) {
  Clear();
  std::vector<uint8_t> maskBits, colourBits;
  try {
    uint8_t head[21];
    if (!ReadAll(stream, head, sizeof head)) return Fail(kNoImage, "the data ends inside it");
    FHotSpotX = ReadI32LE(head);
    FHotSpotY = ReadI32LE(head + 4);
    FMask = InfoAt(head + 8);
    if (FMask.Size > kMaxBitsSize) return Fail(kNoImage, InfoText("mask", FMask));
    maskBits.resize(static_cast<size_t>(std::max(FMask.Size, 0)));
    if (!ReadAll(stream, maskBits.data(), int32_t(maskBits.size())))
      return Fail(kNoImage, "the data ends inside the mask bits");

    uint8_t colourHead[13];
    if (!ReadAll(stream, colourHead, sizeof colourHead)) return Fail(kNoImage, "the data ends inside it");
    FColour = InfoAt(colourHead);
    if (FColour.Size > kMaxBitsSize) return Fail(kNoImage, InfoText("colour", FColour));
    colourBits.resize(static_cast<size_t>(std::max(FColour.Size, 0)));
    if (!ReadAll(stream, colourBits.data(), int32_t(colourBits.size())))
      return Fail(kNoImage, "the data ends inside the colour bits");
    FConsumed = true;
    return Decode(maskBits, colourBits);
  } catch (const std::bad_alloc&) {
    return Fail(kOutOfMemory, "out of memory");
  }
}

int TkoCursor::Decode(const std::vector<uint8_t>& maskBits, const std::vector<uint8_t>& colourBits) {
  if (FMask.Size <= 0) {
    if (FColour.Size <= 0) return kLoaded;  // an empty slot
    return Fail(kNoImage, "colour image without a mask");
  }
  if (FMask.BitsPerPixel != 1 || !SideOk(FMask.Width) || !SideOk(FMask.Height) ||
      RowBytes(FMask, 16) * FMask.Height != FMask.Size)
    return Fail(kNoImage, InfoText("mask", FMask));
  const int64_t maskRow = RowBytes(FMask, 16);

  if (FColour.Size <= 0) {
    if (FMask.Height % 2 != 0) return Fail(kNoImage, InfoText("monochrome mask", FMask));
    const int32_t h = FMask.Height / 2;
    Allocate(FAnd, FMask.Width, h);
    Allocate(FXor, FMask.Width, h);
    PlaneFromBits(FAnd, maskBits.data(), maskRow, 0, kKeep, 0);
    PlaneFromBits(FXor, maskBits.data(), maskRow, h, kWhite, 0);
    return kLoaded;
  }

  const int bpp = FColour.BitsPerPixel;
  if ((bpp != 1 && bpp != 24 && bpp != 32) || !SideOk(FColour.Width) || !SideOk(FColour.Height) ||
      RowBytes(FColour, 32) * FColour.Height != FColour.Size)
    return Fail(kNoImage, InfoText("colour", FColour));
  const int64_t colourRow = RowBytes(FColour, 32);

  Allocate(FAnd, FMask.Width, FMask.Height);
  PlaneFromBits(FAnd, maskBits.data(), maskRow, 0, kKeep, 0);
  Allocate(FXor, FColour.Width, FColour.Height);
  if (bpp == 1) {
    // The record carries no colour table: 0 is black, 1 white.
    PlaneFromBits(FXor, colourBits.data(), colourRow, 0, kWhite, 0);
    return kLoaded;
  }
  const int step = bpp / 8;
  for (int32_t y = 0; y < FColour.Height; ++y) {
    const uint8_t* p = colourBits.data() + y * colourRow;
    for (int32_t x = 0; x < FColour.Width; ++x, p += step)
      FXor.Pixels[static_cast<size_t>(y) * FColour.Width + x] =
          uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16;
  }
  return kLoaded;
}
