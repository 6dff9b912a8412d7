#pragma once
// LZMA-alone files (the LZMA SDK's ".lzma" format): properties byte (lc 3, lp 0,
// pb 2), u32 dictionary size, u64 uncompressed size (all ones = unknown), then the
// LZMA stream.
#include "writer/film_bytes.h"

namespace filmwriter {

enum class LzmaSize {
  Known,                // size in the header, no end marker (as the SDK coder writes it)
  Unknown,              // size all ones, stream ends with the end marker
  KnownWithEndMarker,   // size in the header and an end marker behind the data
};

// Throws std::runtime_error when liblzma fails.
Bytes BuildLzmaAlone(const Bytes& data, LzmaSize size = LzmaSize::Known);

// data followed by `zeros` zero bytes, size unknown with an end marker, encoded
// quickly without holding the zeros in memory: a small stream that expands far (about
// 150 KB per GiB of zeros).
Bytes BuildLzmaAloneWithZeros(const Bytes& data, uint64_t zeros);

}  // namespace filmwriter
