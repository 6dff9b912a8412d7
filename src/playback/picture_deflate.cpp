#include "playback/picture_deflate.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace {
constexpr size_t kSampleBytes = 64 * 1024;

size_t RowBytes(const TkoPictureView& picture) {
  return static_cast<size_t>(picture.Width) * static_cast<size_t>(picture.BytesPerPixel());
}

// Deflates rows first .. first + count - 1 into out (sized for the worst case). Returns
// the packed size, or 0 when zlib fails.
size_t DeflateRows(const TkoPictureView& picture, int32_t first, int32_t count, std::vector<uint8_t>& out) {
  const size_t rowBytes = RowBytes(picture);
  z_stream stream{};
  if (deflateInit(&stream, Z_BEST_SPEED) != Z_OK) return 0;
  const uLong bound = deflateBound(&stream, static_cast<uLong>(rowBytes * static_cast<size_t>(count)));
  if (out.size() < bound) out.resize(bound);
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  int result = Z_OK;
  for (int32_t y = first; y < first + count && result == Z_OK; ++y) {
    stream.next_in = picture.Row(y);
    stream.avail_in = static_cast<uInt>(rowBytes);
    const int flush = y + 1 == first + count ? Z_FINISH : Z_NO_FLUSH;
    result = deflate(&stream, flush);
    if (flush == Z_NO_FLUSH && result == Z_OK && stream.avail_in != 0) result = Z_BUF_ERROR;
  }
  const size_t size = result == Z_STREAM_END ? stream.total_out : 0;
  deflateEnd(&stream);
  return size;
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
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) return false;
  stream.next_in = const_cast<Bytef*>(bytes.data());
  stream.avail_in = static_cast<uInt>(bytes.size());
  int result = Z_OK;
  for (int32_t y = 0; y < picture.Height && result == Z_OK; ++y) {
    stream.next_out = picture.Row(y);
    stream.avail_out = static_cast<uInt>(rowBytes);
    result = inflate(&stream, Z_NO_FLUSH);
    if (stream.avail_out != 0 && result == Z_OK) result = Z_DATA_ERROR;  // the row was not filled
  }
  if (result == Z_OK) {  // every row is filled: the stream must end here
    uint8_t extra = 0;
    stream.next_out = &extra;
    stream.avail_out = 1;
    result = inflate(&stream, Z_NO_FLUSH);
    if (stream.avail_out == 0) result = Z_DATA_ERROR;  // more bytes than rows
  }
  const bool whole = result == Z_STREAM_END && stream.avail_in == 0 &&
                     stream.total_out == rowBytes * static_cast<size_t>(picture.Height);
  inflateEnd(&stream);
  return whole;
}
