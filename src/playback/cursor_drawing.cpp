#include "playback/cursor_drawing.h"

#include <algorithm>
#include <cstring>

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

// One row of a plane on count pixels at p. Only blue, green and red take part: a
// 32-bit pixel's fourth byte stays (whole pixels are combined as little-endian words).
template <bool kAnd>
void ApplyRow(uint8_t* p, int32_t step, const uint32_t* v, int32_t count) {
  if (step == 4) {
    for (int32_t i = 0; i < count; ++i, p += 4) {
      uint32_t w;
      std::memcpy(&w, p, 4);
      if (kAnd)
        w &= v[i] | 0xFF000000u;
      else
        w ^= v[i] & 0x00FFFFFFu;
      std::memcpy(p, &w, 4);
    }
    return;
  }
  for (int32_t i = 0; i < count; ++i, p += 3) {
    for (int b = 0; b < 3; ++b) {
      const auto byte = static_cast<uint8_t>(v[i] >> (8 * b));
      if (kAnd)
        p[b] &= byte;
      else
        p[b] ^= byte;
    }
  }
}

template <bool kAnd>
void ApplyPlane(const TkoPictureView& picture, const TkoCursorPlane& plane, int64_t left, int64_t top) {
  if (plane.IsEmpty()) return;
  const TClip c = ClipPlane(picture, plane, left, top);
  for (int32_t y = c.y0; y < c.y1; ++y) {
    const uint32_t* v = &plane.Pixels[static_cast<size_t>(y - top) * plane.Width + (c.x0 - left)];
    ApplyRow<kAnd>(picture.At(c.x0, y), picture.BytesPerPixel(), v, c.x1 - c.x0);
  }
}
}  // namespace

void DrawCursor(const TkoCursor& cursor, const TkoPictureView& picture, int32_t x, int32_t y) {
  if (picture.IsEmpty() || cursor.IsEmpty()) return;
  const int64_t left = int64_t{x} - cursor.HotSpotX(), top = int64_t{y} - cursor.HotSpotY();
  ApplyPlane<true>(picture, cursor.AndPlane(), left, top);
  ApplyPlane<false>(picture, cursor.XorPlane(), left, top);
}
