#include "playback/frame_apply.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr int64_t kRunSize = 5;
constexpr int64_t kHeadSize = 8;

int32_t Int32At(const uint8_t* p) {
  return static_cast<int32_t>(uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 |
                              uint32_t{p[3]} << 24);
}

template <int Bpp>
inline void XorPixels(uint8_t* p, size_t count, uint32_t colour) {
  if constexpr (Bpp == 4) {
    for (size_t i = 0; i < count; ++i, p += 4) {
      uint32_t v;
      std::memcpy(&v, p, 4);
      v ^= colour;  // little-endian: blue, green, red; the fourth byte stays
      std::memcpy(p, &v, 4);
    }
  } else {
    // Blue and green as one 16-bit word, then red: three bytes in two accesses that
    // never straddle the neighbouring pixels.
    const auto blueGreen = static_cast<uint16_t>(colour);
    const auto red = static_cast<uint8_t>(colour >> 16);
    for (size_t i = 0; i < count; ++i, p += 3) {
      uint16_t v;
      std::memcpy(&v, p, 2);
      v ^= blueGreen;
      std::memcpy(p, &v, 2);
      p[2] ^= red;
    }
  }
}

struct TLaid {
  int64_t Covered = 0;
  bool Dropped = false;
};

// Lays runs [run, run + 5 * count) on the picture; pixels past the frame are dropped.
template <int Bpp>
TLaid LayRuns(const uint8_t* run, int64_t count, const TkoPictureView& picture) {
  const int64_t total = int64_t{picture.Width} * picture.Height;
  const size_t rowBytes = static_cast<size_t>(picture.Width) * Bpp;
  const ptrdiff_t stride = picture.Stride;
  int64_t left = total;
  bool dropped = false;
  uint8_t* row = picture.Pixels;
  uint8_t* p = row;
  size_t rowLeft = rowBytes;  // bytes from p to the end of the row's pixels
  for (const uint8_t* const end = run + kRunSize * count; run != end; run += kRunSize) {
    int64_t pixels = run[3] | run[4] << 8;
    if (pixels > left) pixels = left, dropped = true;
    left -= pixels;
    const uint32_t colour = uint32_t{run[0]} | uint32_t{run[1]} << 8 | uint32_t{run[2]} << 16;
    size_t bytes = static_cast<size_t>(pixels) * Bpp;
    if (bytes < rowLeft) {  // the common case: the run ends before the row's last pixel
      if (colour != 0) XorPixels<Bpp>(p, bytes / Bpp, colour);
      p += bytes;
      rowLeft -= bytes;
      continue;
    }
    while (bytes > 0) {  // reaches the row's end: finish it, then go on below
      const size_t piece = std::min(bytes, rowLeft);
      if (colour != 0) XorPixels<Bpp>(p, piece / Bpp, colour);
      bytes -= piece;
      rowLeft -= piece;
      p += piece;
      if (rowLeft != 0) break;
      size_t rows = 1;
      if (colour == 0) rows += bytes / rowBytes, bytes %= rowBytes;  // skip unchanged rows
      row += stride * static_cast<ptrdiff_t>(rows);
      p = row;
      rowLeft = rowBytes;
    }
  }
  return {total - left, dropped};
}
}  // namespace

TkoFrameStatus LayFrameRecord(std::span<const uint8_t> record, const TkoPictureView& picture) {
  if (picture.IsEmpty() || !IsDrawableDepth(picture.Depth)) return TkoFrameStatus::kNoPicture;
  bool bad = record.size() < kHeadSize;
  int64_t usable = 0;
  if (!bad) {
    // Only runs counted by R that lie inside both the size field and the bytes at hand.
    const int64_t size = Int32At(record.data()), runs = Int32At(record.data() + 4);
    const auto available = static_cast<int64_t>(record.size());
    const int64_t limit = size >= kHeadSize && size <= available ? size : available;
    usable = std::clamp<int64_t>(runs, 0, (limit - kHeadSize) / kRunSize);
    bad = runs < 0 || size != kHeadSize + kRunSize * runs || size > available;
  }
  const uint8_t* first = record.size() >= kHeadSize ? record.data() + kHeadSize : record.data();
  const TLaid laid = picture.Depth == 32 ? LayRuns<4>(first, usable, picture) : LayRuns<3>(first, usable, picture);
  if (bad) return TkoFrameStatus::kBadRecord;
  if (laid.Dropped) return TkoFrameStatus::kOverrun;
  return laid.Covered < int64_t{picture.Width} * picture.Height ? TkoFrameStatus::kShort : TkoFrameStatus::kComplete;
}
