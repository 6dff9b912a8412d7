#pragma once
// LZX as cabinets carry it, written without compression: every data block is one LZX
// frame holding one "uncompressed" LZX block.
#include <cstddef>
#include <cstdint>

#include "writer/film_bytes.h"

namespace filmwriter {

// One frame of up to 32768 bytes as a single uncompressed LZX block. The first frame
// of a folder also carries the E8 translation header bit (0: no translation).
// Bitstream: 16-bit little-endian words read from the most significant bit; the
// header is [E8 bit], 3 bits block type 3, 24 bits block size, then 1..16 padding bits
// up to the next word, R0, R1, R2 (u32 each, 1 as at the stream start), the bytes,
// and a padding byte after an odd size.
Bytes LzxUncompressedFrame(const uint8_t* data, size_t size, bool firstFrame);

}  // namespace filmwriter
