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

}  // namespace filmwriter
