#include "playback/picture_deflate.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace {
constexpr size_t kSampleBytes = 64 * 1024;
// Each row of a deflated picture starts with a mark: a new row's bytes follow it; a
// row the same as the one above is the mark alone (screens repeat many rows, and
// comparing rows costs far less than deflating them).
constexpr uint8_t kNewRow = 0;
constexpr uint8_t kSameRow = 1;
// Raw deflate: no header and no checksum (summing every byte took a good part of the
// time); UnpackPicture checks that the bytes give exactly the picture's rows instead.
constexpr int kRawDeflate = -15;

size_t RowBytes(const TkoPictureView& picture) {
  return static_cast<size_t>(picture.Width) * static_cast<size_t>(picture.BytesPerPixel());
}

bool SameAsAbove(const TkoPictureView& picture, int32_t y) {
  return std::memcmp(picture.Row(y), picture.Row(y - 1), RowBytes(picture)) == 0;
}

// Hands count bytes to the deflater (nothing more to come with Z_FINISH).
bool Feed(z_stream& stream, const uint8_t* bytes, size_t count, int flush) {
  stream.next_in = const_cast<Bytef*>(bytes);
  stream.avail_in = static_cast<uInt>(count);
  const int result = deflate(&stream, flush);
  return flush == Z_FINISH ? result == Z_STREAM_END : result == Z_OK && stream.avail_in == 0;
}

// Deflates rows first .. first + count - 1, each with its mark, into out (sized for the
// worst case). Returns the packed size, or 0 when zlib fails.
size_t DeflateRows(const TkoPictureView& picture, int32_t first, int32_t count, std::vector<uint8_t>& out) {
  const size_t rowBytes = RowBytes(picture);
  z_stream stream{};
  if (deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, kRawDeflate, 8, Z_DEFAULT_STRATEGY) != Z_OK) return 0;
  const uLong bound = deflateBound(&stream, static_cast<uLong>((rowBytes + 1) * static_cast<size_t>(count)));
  if (out.size() < bound) out.resize(bound);
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  bool ok = true;
  for (int32_t y = first; y < first + count && ok; ++y) {
    const uint8_t mark = y > first && SameAsAbove(picture, y) ? kSameRow : kNewRow;
    ok = Feed(stream, &mark, 1, Z_NO_FLUSH) && (mark == kSameRow || Feed(stream, picture.Row(y), rowBytes, Z_NO_FLUSH));
  }
  ok = ok && Feed(stream, nullptr, 0, Z_FINISH);
  const size_t size = ok ? stream.total_out : 0;
  deflateEnd(&stream);
  return size;
}

// Inflates exactly count bytes into out.
bool Take(z_stream& stream, uint8_t* out, size_t count) {
  stream.next_out = out;
  stream.avail_out = static_cast<uInt>(count);
  const int result = inflate(&stream, Z_NO_FLUSH);
  return (result == Z_OK || result == Z_STREAM_END) && stream.avail_out == 0;
}

// Inflates the marked rows into picture; false unless the bytes give exactly its rows.
bool InflateRows(std::span<const uint8_t> bytes, const TkoPictureView& picture) {
  const size_t rowBytes = RowBytes(picture);
  z_stream stream{};
  if (inflateInit2(&stream, kRawDeflate) != Z_OK) return false;
  stream.next_in = const_cast<Bytef*>(bytes.data());
  stream.avail_in = static_cast<uInt>(bytes.size());
  bool ok = true;
  for (int32_t y = 0; y < picture.Height && ok; ++y) {
    uint8_t mark = 0;
    ok = Take(stream, &mark, 1);
    if (ok && mark == kSameRow && y > 0)
      std::memcpy(picture.Row(y), picture.Row(y - 1), rowBytes);
    else
      ok = ok && mark == kNewRow && Take(stream, picture.Row(y), rowBytes);
  }
  // Every row is filled: the stream must end here, with no bytes behind it.
  uint8_t extra = 0;
  stream.next_out = &extra;
  stream.avail_out = 1;
  ok = ok && inflate(&stream, Z_NO_FLUSH) == Z_STREAM_END && stream.avail_out == 1 && stream.avail_in == 0;
  inflateEnd(&stream);
  return ok;
}

// Whether the middle rows shrink enough to deflate the whole picture.
bool WorthDeflating(const TkoPictureView& picture, std::vector<uint8_t>& scratch) {
  const size_t rowBytes = RowBytes(picture);
  const auto count = static_cast<int32_t>(std::clamp<size_t>(kSampleBytes / rowBytes, 1, size_t(picture.Height)));
  const size_t packed = DeflateRows(picture, (picture.Height - count) / 2, count, scratch);
  return packed != 0 && packed * 5 <= rowBytes * static_cast<size_t>(count) * 4;
}

void StoreRows(const TkoPictureView& picture, std::vector<uint8_t>& out) {
  const size_t rowBytes = RowBytes(picture);
  out.resize(rowBytes * static_cast<size_t>(picture.Height));
  for (int32_t y = 0; y < picture.Height; ++y)
    std::memcpy(out.data() + rowBytes * static_cast<size_t>(y), picture.Row(y), rowBytes);
}
}  // namespace

bool PackPicture(const TkoPictureView& picture, std::vector<uint8_t>& scratch, TPackedPicture& packed) {
  if (picture.IsEmpty() || picture.BytesPerPixel() == 0) return false;
  const size_t whole = RowBytes(picture) * static_cast<size_t>(picture.Height);
  if (WorthDeflating(picture, scratch)) {
    const size_t size = DeflateRows(picture, 0, picture.Height, scratch);
    if (size != 0 && size * 5 <= whole * 4) {
      packed.Deflated = true;
      packed.Bytes.assign(scratch.begin(), scratch.begin() + static_cast<ptrdiff_t>(size));
      return true;
    }
  }
  packed.Deflated = false;
  StoreRows(picture, packed.Bytes);
  return true;
}

bool UnpackPicture(std::span<const uint8_t> bytes, bool deflated, const TkoPictureView& picture) {
  if (picture.IsEmpty() || picture.BytesPerPixel() == 0) return false;
  const size_t rowBytes = RowBytes(picture);
  if (!deflated) {
    if (bytes.size() != rowBytes * static_cast<size_t>(picture.Height)) return false;
    for (int32_t y = 0; y < picture.Height; ++y)
      std::memcpy(picture.Row(y), bytes.data() + rowBytes * static_cast<size_t>(y), rowBytes);
    return true;
  }
  return InflateRows(bytes, picture);
}
