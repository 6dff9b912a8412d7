#include "writer/lzma_writer.h"

#include <lzma.h>

#include <algorithm>
#include <stdexcept>

namespace filmwriter {

namespace {
constexpr uint32_t kPreset = 6;

// Runs an initialised encoder over the data to its end and frees it.
Bytes RunEncoder(lzma_stream& stream, const Bytes& data) {
  Bytes out(data.size() + data.size() / 2 + 1024);
  stream.next_in = data.data();
  stream.avail_in = data.size();
  stream.next_out = out.data();
  stream.avail_out = out.size();
  lzma_ret result;
  while ((result = lzma_code(&stream, LZMA_FINISH)) == LZMA_OK) {
    if (stream.avail_out != 0) continue;
    const size_t done = out.size();
    out.resize(out.size() * 2);
    stream.next_out = out.data() + done;
    stream.avail_out = out.size() - done;
  }
  out.resize(out.size() - stream.avail_out);
  lzma_end(&stream);
  if (result != LZMA_STREAM_END) throw std::runtime_error("liblzma encoding failed");
  return out;
}

// The 13-byte header followed by a raw LZMA1 stream that stops after exactly
// data.size() bytes, without an end marker.
Bytes KnownSizeWithoutMarker(const Bytes& data) {
  lzma_options_lzma options;
  if (lzma_lzma_preset(&options, kPreset)) throw std::runtime_error("lzma_lzma_preset failed");
  options.ext_flags = 0;
  options.ext_size_low = uint32_t(data.size());
  options.ext_size_high = uint32_t(uint64_t(data.size()) >> 32);
  const lzma_filter filters[] = {{LZMA_FILTER_LZMA1EXT, &options},
                                 {LZMA_VLI_UNKNOWN, nullptr}};
  lzma_stream stream = LZMA_STREAM_INIT;
  if (lzma_raw_encoder(&stream, filters) != LZMA_OK)
    throw std::runtime_error("lzma_raw_encoder failed");
  Bytes out;
  PutU8(out, uint8_t((options.pb * 5 + options.lp) * 9 + options.lc));
  PutU32(out, options.dict_size);
  PutU64(out, data.size());
  PutBytes(out, RunEncoder(stream, data));
  return out;
}
}  // namespace

Bytes BuildLzmaAlone(const Bytes& data, LzmaSize size) {
  if (size == LzmaSize::Known) return KnownSizeWithoutMarker(data);
  lzma_options_lzma options;
  if (lzma_lzma_preset(&options, kPreset)) throw std::runtime_error("lzma_lzma_preset failed");
  lzma_stream stream = LZMA_STREAM_INIT;
  if (lzma_alone_encoder(&stream, &options) != LZMA_OK)
    throw std::runtime_error("lzma_alone_encoder failed");
  Bytes out = RunEncoder(stream, data);
  // lzma_alone_encoder always writes "size unknown" and the end marker.
  if (size == LzmaSize::KnownWithEndMarker)
    for (int i = 0; i < 8; ++i) out.at(5 + size_t(i)) = uint8_t(uint64_t(data.size()) >> (8 * i));
  return out;
}

Bytes BuildLzmaAloneWithZeros(const Bytes& data, uint64_t zeros) {
  lzma_options_lzma options;
  if (lzma_lzma_preset(&options, 0)) throw std::runtime_error("lzma_lzma_preset failed");
  lzma_stream stream = LZMA_STREAM_INIT;
  if (lzma_alone_encoder(&stream, &options) != LZMA_OK) throw std::runtime_error("lzma_alone_encoder failed");
  const Bytes zeroChunk(1 << 20, 0);
  Bytes out, buffer(1 << 16);
  const auto drain = [&] {
    out.insert(out.end(), buffer.data(), buffer.data() + (buffer.size() - stream.avail_out));
    stream.next_out = buffer.data();
    stream.avail_out = buffer.size();
  };
  stream.next_out = buffer.data();
  stream.avail_out = buffer.size();
  // The data, then the zeros a chunk at a time, then the end.
  const auto feed = [&](const uint8_t* bytes, size_t size, lzma_action action) {
    stream.next_in = bytes;
    stream.avail_in = size;
    for (;;) {
      const lzma_ret result = lzma_code(&stream, action);
      if (stream.avail_out == 0 || result == LZMA_STREAM_END) drain();
      if (result == LZMA_STREAM_END) return;
      if (result != LZMA_OK) throw std::runtime_error("liblzma encoding failed");
      if (action == LZMA_RUN && stream.avail_in == 0) return;
    }
  };
  feed(data.data(), data.size(), LZMA_RUN);
  for (uint64_t left = zeros; left > 0;) {
    const size_t size = size_t(std::min<uint64_t>(left, zeroChunk.size()));
    feed(zeroChunk.data(), size, LZMA_RUN);
    left -= size;
  }
  feed(nullptr, 0, LZMA_FINISH);
  lzma_end(&stream);
  return out;
}

}  // namespace filmwriter
