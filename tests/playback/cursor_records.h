#pragma once
// Small builders of cursor records and pictures for the playback tests.
#include <cstdint>
#include <vector>

#include "film/ko_stream.h"
#include "playback/ko_picture.h"

namespace cursor_records {
using Bytes = std::vector<uint8_t>;

inline void PutInt32(Bytes& out, int32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i)));
}

struct Part {
  int32_t size, width, height;
  uint8_t bpp;
  Bytes bits;
};

inline Bytes Record(int32_t hotX, int32_t hotY, const Part& mask, const Part& colour) {
  Bytes out;
  PutInt32(out, hotX);
  PutInt32(out, hotY);
  for (const Part* part : {&mask, &colour}) {
    PutInt32(out, part->size);
    PutInt32(out, part->width);
    PutInt32(out, part->height);
    out.push_back(part->bpp);
    out.insert(out.end(), part->bits.begin(), part->bits.end());
  }
  return out;
}

// A 1-bit mask, rows padded to 16 bits, with pixel (x, y) set where set(x, y).
template <class F>
Part Mask(int32_t width, int32_t height, F set) {
  const int32_t row = (width + 15) / 16 * 2;
  Part part{row * height, width, height, 1, Bytes(size_t(row * height), 0)};
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      if (set(x, y)) part.bits[size_t(y * row + x / 8)] |= uint8_t(0x80 >> (x % 8));
  return part;
}

// Colour bits, rows padded to 4 bytes, pixel (x, y) = colour(x, y) as 0x00RRGGBB.
template <class F>
Part Colour(int32_t width, int32_t height, uint8_t bpp, F colour) {
  const int32_t step = bpp / 8;
  const int32_t row = (width * step + 3) / 4 * 4;
  Part part{row * height, width, height, bpp, Bytes(size_t(row * height), 0xEE)};
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t c = colour(x, y);
      uint8_t* p = &part.bits[size_t(y * row + x * step)];
      p[0] = uint8_t(c), p[1] = uint8_t(c >> 8), p[2] = uint8_t(c >> 16);
      if (step == 4) p[3] = 0xFF;
    }
  return part;
}

inline const Part kNoPart{0, 0, 0, 0, {}};

inline TkoMemoryStream StreamOf(const Bytes& bytes) {
  TkoMemoryStream stream;
  stream.Write(bytes.data(), int32_t(bytes.size()));
  stream.SetPosition(0);
  return stream;
}

// A picture filled with a pattern so that AND and XOR leave visible traces.
inline TkoPicture Patterned(int32_t w, int32_t h, int32_t depth) {
  TkoPicture picture(w, h, depth);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) SetPixelColour(picture.View(), x, y, 0x102030u * uint32_t(x + 3 * y + 1) & 0xFFFFFF);
  return picture;
}
}  // namespace cursor_records
