#include "session/focus_order.h"

int32_t NextFocusIndex(int32_t count, int32_t current, bool backward) {
  if (count <= 0) return -1;
  if (current < 0 || current >= count) return backward ? count - 1 : 0;
  return backward ? (current + count - 1) % count : (current + 1) % count;
}
