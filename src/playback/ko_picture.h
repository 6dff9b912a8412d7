#pragma once
// Plain pixel memory the engine draws into: the current picture, the difference
// buffer and the cursor's save-under area. A picture is top-down rows of blue, green,
// red (and, at depth 32, a fourth byte) - the layout of a top-down device-independent
// section, so a Windows front end can wrap its section's bits in a TkoPictureView.
#include <cstddef>
#include <cstdint>
#include <vector>

// Bytes per pixel for a colour depth the engine draws: 3 for 24, 4 for 32, 0 for any
// other depth (such segments are not drawn).
constexpr int32_t BytesPerPixelOf(int32_t depth) {
  return depth == 24 ? 3 : depth == 32 ? 4 : 0;
}
constexpr bool IsDrawableDepth(int32_t depth) { return BytesPerPixelOf(depth) != 0; }

// Bytes of one row: width x bytes per pixel rounded up to a multiple of 4.
constexpr int64_t PaddedRowBytes(int64_t width, int32_t depth) {
  return (width * BytesPerPixelOf(depth) + 3) / 4 * 4;
}

// A point in picture pixels.
struct TkoPoint {
  int32_t X = 0;
  int32_t Y = 0;
  bool operator==(const TkoPoint&) const = default;
};

// A rectangle as the system gives it (left, top, right, bottom).
struct TkoRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool operator==(const TkoRect&) const = default;
};

// The smallest rectangle that holds both; an empty one adds nothing.
inline TkoRect BoundingUnion(const TkoRect& a, const TkoRect& b) {
  if (a.IsEmpty()) return b;
  if (b.IsEmpty()) return a;
  return {a.Left < b.Left ? a.Left : b.Left, a.Top < b.Top ? a.Top : b.Top, a.Right > b.Right ? a.Right : b.Right,
          a.Bottom > b.Bottom ? a.Bottom : b.Bottom};
}

// A non-owning view of a picture. Rows are Stride bytes apart, Stride at least
// Width x BytesPerPixel(). An empty view (no pixels or a zero size) draws nothing.
struct TkoPictureView {
  uint8_t* Pixels = nullptr;
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t Stride = 0;
  int32_t Depth = 32;

  int32_t BytesPerPixel() const { return BytesPerPixelOf(Depth); }
  bool IsEmpty() const { return Pixels == nullptr || Width <= 0 || Height <= 0; }
  uint8_t* Row(int32_t y) const { return Pixels + static_cast<ptrdiff_t>(y) * Stride; }
  uint8_t* At(int32_t x, int32_t y) const { return Row(y) + static_cast<ptrdiff_t>(x) * BytesPerPixel(); }
};

// An owning picture with rows padded to 4 bytes. It may carry spare rows below its
// Height (the difference buffer has one); they belong to the memory, not the picture.
class TkoPicture {
public:
  TkoPicture() = default;
  // See Resize.
  TkoPicture(int32_t width, int32_t height, int32_t depth, int32_t spareRows = 0);

  // Makes a black picture of the given size. Returns false, leaving the picture empty,
  // when the depth is not 24 or 32, a size is negative or the memory would exceed
  // 1 GiB; throws std::bad_alloc when memory runs out.
  bool Resize(int32_t width, int32_t height, int32_t depth, int32_t spareRows = 0);
  // Frees the memory; the picture is then empty.
  void Release();
  // Fills the whole memory, spare rows included, with black.
  void Clear();

  TkoPictureView View();
  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  int32_t Depth() const { return FDepth; }
  int32_t Stride() const { return FStride; }
  int32_t SpareRows() const { return FSpareRows; }
  bool IsEmpty() const { return FPixels.empty(); }
  // The whole memory, spare rows included.
  const std::vector<uint8_t>& Memory() const { return FPixels; }

private:
  std::vector<uint8_t> FPixels;
  int32_t FWidth = 0;
  int32_t FHeight = 0;
  int32_t FDepth = 32;
  int32_t FStride = 0;
  int32_t FSpareRows = 0;
};

// The colour of a pixel as 0x00RRGGBB (the fourth byte of a 32-bit pixel is ignored).
uint32_t PixelColour(const TkoPictureView& picture, int32_t x, int32_t y);
// Stores 0x00RRGGBB; a 32-bit pixel gets a fourth byte of 0.
void SetPixelColour(const TkoPictureView& picture, int32_t x, int32_t y, uint32_t colour);
// The colours of count pixels from (x, y) rightwards, as PixelColour gives them.
void ReadRowColours(const TkoPictureView& picture, int32_t x, int32_t y, int32_t count, uint32_t* colours);
// Stores count colours 0x00RRGGBB from (x, y) rightwards; the fourth byte of a 32-bit
// pixel stays as it is.
void WriteRowColours(const TkoPictureView& picture, int32_t x, int32_t y, int32_t count, const uint32_t* colours);

// Combines source onto target by exclusive or over the area both cover from (0, 0),
// converting between depths 24 and 32 on the way (only blue, green and red take part;
// the fourth byte of a 32-bit target stays). Nothing happens when either is empty.
void XorPicture(const TkoPictureView& source, const TkoPictureView& target);
