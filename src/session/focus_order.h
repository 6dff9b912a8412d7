#pragma once
// The keyboard's focus cycle of the main window (Tab and Shift+Tab): the segment list
// while it is open, the picture, then the panel's controls in the order they are seen;
// after the last comes the first again.
#include <cstdint>

// The index in a cycle of count places that Tab (Shift+Tab: backward) leads to from
// current; from a place outside the cycle (-1) Tab leads to the first and Shift+Tab to
// the last. -1 for an empty cycle.
int32_t NextFocusIndex(int32_t count, int32_t current, bool backward);
