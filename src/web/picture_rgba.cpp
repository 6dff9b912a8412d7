#include "web/picture_rgba.h"

#include <algorithm>

void TDirtyRegion::SetBounds(int32_t width, int32_t height) {
  FWidth = std::max(width, 0);
  FHeight = std::max(height, 0);
  FBox = {};
}

void TDirtyRegion::Add(const TkoBox& box) {
  const int32_t left = std::max(box.X, 0), top = std::max(box.Y, 0);
  const int32_t right = std::min(box.X + box.Width, FWidth), bottom = std::min(box.Y + box.Height, FHeight);
  if (right <= left || bottom <= top) return;
  if (Empty()) {
    FBox = {left, top, right - left, bottom - top};
    return;
  }
  const int32_t x = std::min(FBox.X, left), y = std::min(FBox.Y, top);
  FBox = {x, y, std::max(FBox.X + FBox.Width, right) - x, std::max(FBox.Y + FBox.Height, bottom) - y};
}

TkoBox TDirtyRegion::Take() {
  const TkoBox box = Empty() ? TkoBox{} : FBox;
  FBox = {};
  return box;
}

void TRgbaPicture::Resize(int32_t width, int32_t height) {
  FWidth = std::max(width, 0);
  FHeight = std::max(height, 0);
  FPixels.assign(size_t(FWidth) * size_t(FHeight) * 4, 0);
  for (size_t i = 3; i < FPixels.size(); i += 4) FPixels[i] = 0xFF;
}

void TRgbaPicture::CopyFrom(const TkoPictureView& picture, const TkoBox& box) {
  const int32_t step = picture.BytesPerPixel();
  if (picture.IsEmpty() || step == 0) return;
  const int32_t right = std::min({box.X + box.Width, picture.Width, FWidth});
  const int32_t bottom = std::min({box.Y + box.Height, picture.Height, FHeight});
  for (int32_t y = std::max(box.Y, 0); y < bottom; ++y) {
    const int32_t left = std::max(box.X, 0);
    const uint8_t* from = picture.At(left, y);
    uint8_t* to = FPixels.data() + (size_t(y) * size_t(FWidth) + size_t(left)) * 4;
    for (int32_t x = left; x < right; ++x, from += step, to += 4) {
      to[0] = from[2];
      to[1] = from[1];
      to[2] = from[0];
    }
  }
}

uint32_t TRgbaPicture::PixelAt(int32_t x, int32_t y) const {
  const uint8_t* p = FPixels.data() + (size_t(y) * size_t(FWidth) + size_t(x)) * 4;
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}
