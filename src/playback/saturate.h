#pragma once
// Window, screen and picture arithmetic is done in 64 bits and brought back into the
// 32-bit fields the system uses, so no extreme value (a command-line number, a
// rectangle, a film's frame size) can overflow.
#include <algorithm>
#include <cstdint>
#include <limits>

inline int32_t SaturateToInt32(int64_t value) {
  return static_cast<int32_t>(
      std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}
