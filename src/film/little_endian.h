#pragma once
// Little-endian fields of the film formats (container, data file, cabinets), read
// byte by byte so that neither alignment nor the host's byte order matters.
#include <cstdint>

inline uint16_t ReadU16LE(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

inline uint32_t ReadU32LE(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

inline int32_t ReadI32LE(const uint8_t* p) { return static_cast<int32_t>(ReadU32LE(p)); }
