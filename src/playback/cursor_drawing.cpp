#include "playback/cursor_drawing.h"

#include <algorithm>

namespace {
// The picture rectangle [x0, x1) x [y0, y1) that a plane at (left, top) covers.
struct TClip {
  int32_t x0, y0, x1, y1;
};
TClip ClipPlane(const TkoPictureView& picture, const TkoCursorPlane& plane, int64_t left, int64_t top) {
  const int64_t x0 = std::max<int64_t>(left, 0), y0 = std::max<int64_t>(top, 0);
  const int64_t x1 = std::min<int64_t>(left + plane.Width, picture.Width);
  const int64_t y1 = std::min<int64_t>(top + plane.Height, picture.Height);
  if (x0 >= x1 || y0 >= y1) return {0, 0, 0, 0};
  return {int32_t(x0), int32_t(y0), int32_t(x1), int32_t(y1)};
}

template <bool kAnd>
void ApplyPlane(const TkoPictureView& picture, const TkoCursorPlane& plane, int64_t left, int64_t top) {
  if (plane.IsEmpty()) return;
  const TClip c = ClipPlane(picture, plane, left, top);
  const int32_t step = picture.BytesPerPixel();
  for (int32_t y = c.y0; y < c.y1; ++y) {
    uint8_t* p = picture.At(c.x0, y);
    const uint32_t* v = &plane.Pixels[static_cast<size_t>(y - top) * plane.Width + (c.x0 - left)];
    for (int32_t x = c.x0; x < c.x1; ++x, p += step, ++v) {
      for (int i = 0; i < 3; ++i) {
        const auto byte = static_cast<uint8_t>(*v >> (8 * i));
        if (kAnd)
          p[i] &= byte;
        else
          p[i] ^= byte;
      }
    }
  }
}
}  // namespace

void DrawCursor(const TkoCursor& cursor, const TkoPictureView& picture, int32_t x, int32_t y) {
  if (picture.IsEmpty() || cursor.IsEmpty()) return;
  const int64_t left = int64_t{x} - cursor.HotSpotX(), top = int64_t{y} - cursor.HotSpotY();
  ApplyPlane<true>(picture, cursor.AndPlane(), left, top);
  ApplyPlane<false>(picture, cursor.XorPlane(), left, top);
}
