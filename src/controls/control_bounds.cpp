#include "controls/control_bounds.h"

#include "playback/saturate.h"

int32_t UnsignedLowWord(int64_t lParam) { return static_cast<int32_t>(static_cast<uint64_t>(lParam) & 0xFFFF); }

int32_t UnsignedHighWord(int64_t lParam) {
  return static_cast<int32_t>((static_cast<uint64_t>(lParam) >> 16) & 0xFFFF);
}

int32_t SignedLowWord(int64_t lParam) { return static_cast<int16_t>(UnsignedLowWord(lParam)); }

TkoBox BoundsFromSizingRect(const TkoRect& rect) {
  return {rect.Left, rect.Top, SaturateToInt32(int64_t{rect.Right} - rect.Left + 1),
          SaturateToInt32(int64_t{rect.Bottom} - rect.Top + 1)};
}
