#include "playback/preview_picture.h"

#include <vector>

int32_t PreviewFactor(int32_t width, int32_t maxWidth) {
  if (width <= 0 || maxWidth <= 0) return 1;
  return static_cast<int32_t>((int64_t{width} + maxWidth - 1) / maxWidth);
}

bool ReducePicture(const TkoPictureView& source, int32_t maxWidth, TkoPicture& target) {
  target.Release();
  if (source.IsEmpty() || source.BytesPerPixel() == 0) return false;
  const int32_t k = PreviewFactor(source.Width, maxWidth);
  const int32_t width = source.Width / k, height = source.Height / k;
  if (width == 0 || height == 0 || !target.Resize(width, height, 32)) return false;
  const TkoPictureView out = target.View();
  const uint32_t area = static_cast<uint32_t>(k) * static_cast<uint32_t>(k);
  const int32_t bytes = source.BytesPerPixel();
  // Sums of blue, green and red for every pixel of one row of the preview.
  std::vector<uint32_t> sums(static_cast<size_t>(width) * 3);
  for (int32_t y = 0; y < height; ++y) {
    std::fill(sums.begin(), sums.end(), 0u);
    for (int32_t row = y * k; row < (y + 1) * k; ++row) {
      const uint8_t* pixel = source.Row(row);
      for (int32_t x = 0; x < width; ++x)
        for (int32_t column = 0; column < k; ++column, pixel += bytes)
          for (size_t c = 0; c < 3; ++c) sums[static_cast<size_t>(x) * 3 + c] += pixel[c];
    }
    uint8_t* reduced = out.Row(y);
    for (int32_t x = 0; x < width; ++x, reduced += 4) {
      for (size_t c = 0; c < 3; ++c) reduced[c] = static_cast<uint8_t>((sums[static_cast<size_t>(x) * 3 + c] + area / 2) / area);
      reduced[3] = 0;
    }
  }
  return true;
}
