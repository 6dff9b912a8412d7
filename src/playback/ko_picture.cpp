#include "playback/ko_picture.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr int64_t kMaxPictureBytes = int64_t{1} << 30;
}  // namespace

TkoPicture::TkoPicture(int32_t width, int32_t height, int32_t depth, int32_t spareRows) {
  Resize(width, height, depth, spareRows);
}

bool TkoPicture::Resize(int32_t width, int32_t height, int32_t depth, int32_t spareRows) {
  Release();
  if (!IsDrawableDepth(depth) || width < 0 || height < 0 || spareRows < 0) return false;
  const int64_t stride = PaddedRowBytes(width, depth);
  const int64_t bytes = stride * (int64_t{height} + spareRows);
  if (bytes > kMaxPictureBytes) return false;
  FPixels.assign(static_cast<size_t>(bytes), 0);
  FWidth = width;
  FHeight = height;
  FDepth = depth;
  FStride = static_cast<int32_t>(stride);
  FSpareRows = spareRows;
  return true;
}

void TkoPicture::Release() {
  std::vector<uint8_t>().swap(FPixels);
  FWidth = FHeight = FStride = FSpareRows = 0;
}

void TkoPicture::Clear() { std::fill(FPixels.begin(), FPixels.end(), uint8_t{0}); }

TkoPictureView TkoPicture::View() {
  if (FPixels.empty()) return {nullptr, 0, 0, 0, FDepth};
  return {FPixels.data(), FWidth, FHeight, FStride, FDepth};
}

uint32_t PixelColour(const TkoPictureView& picture, int32_t x, int32_t y) {
  const uint8_t* p = picture.At(x, y);
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16;
}

void SetPixelColour(const TkoPictureView& picture, int32_t x, int32_t y, uint32_t colour) {
  uint8_t* p = picture.At(x, y);
  p[0] = static_cast<uint8_t>(colour);
  p[1] = static_cast<uint8_t>(colour >> 8);
  p[2] = static_cast<uint8_t>(colour >> 16);
  if (picture.Depth == 32) p[3] = 0;
}

// Whole 32-bit pixels are moved as words (the pictures are little-endian: blue in the
// low byte), which the compiler turns into vector code.
void ReadRowColours(const TkoPictureView& picture, int32_t x, int32_t y, int32_t count, uint32_t* colours) {
  const uint8_t* p = picture.At(x, y);
  if (picture.BytesPerPixel() == 4) {
    for (int32_t i = 0; i < count; ++i, p += 4) {
      uint32_t v;
      std::memcpy(&v, p, 4);
      colours[i] = v & 0x00FFFFFFu;
    }
    return;
  }
  for (int32_t i = 0; i < count; ++i, p += 3) colours[i] = uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16;
}

void WriteRowColours(const TkoPictureView& picture, int32_t x, int32_t y, int32_t count, const uint32_t* colours) {
  uint8_t* p = picture.At(x, y);
  if (picture.BytesPerPixel() == 4) {
    for (int32_t i = 0; i < count; ++i, p += 4) {
      uint32_t v;
      std::memcpy(&v, p, 4);
      v = (v & 0xFF000000u) | (colours[i] & 0x00FFFFFFu);
      std::memcpy(p, &v, 4);
    }
    return;
  }
  for (int32_t i = 0; i < count; ++i, p += 3) {
    p[0] = static_cast<uint8_t>(colours[i]);
    p[1] = static_cast<uint8_t>(colours[i] >> 8);
    p[2] = static_cast<uint8_t>(colours[i] >> 16);
  }
}

void XorPicture(const TkoPictureView& source, const TkoPictureView& target) {
  if (source.IsEmpty() || target.IsEmpty()) return;
  const int32_t width = std::min(source.Width, target.Width);
  const int32_t height = std::min(source.Height, target.Height);
  const int32_t sourceStep = source.BytesPerPixel();
  const int32_t targetStep = target.BytesPerPixel();
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* s = source.Row(y);
    uint8_t* t = target.Row(y);
    if (sourceStep == 4 && targetStep == 4) {
      // Whole words at a time; the source's fourth bytes are kept out.
      for (int32_t x = 0; x < width; ++x, s += 4, t += 4) {
        uint32_t a, b;
        std::memcpy(&a, s, 4);
        std::memcpy(&b, t, 4);
        b ^= a & 0x00FFFFFFu;
        std::memcpy(t, &b, 4);
      }
      continue;
    }
    for (int32_t x = 0; x < width; ++x, s += sourceStep, t += targetStep) {
      t[0] ^= s[0];
      t[1] ^= s[1];
      t[2] ^= s[2];
    }
  }
}
