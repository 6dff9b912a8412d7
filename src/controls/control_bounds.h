#pragma once
// How the owner-drawn controls read the bounds the system reports: WM_MOVE and WM_SIZE
// pack two unsigned 16-bit numbers into lParam, and WM_SIZING/WM_MOVING give a rectangle
// whose width and height the controls count inclusively.
#include <cstdint>

#include "playback/picture_layout.h"  // TkoRect, TkoBox

// The low and high words of a message parameter as unsigned 16-bit numbers: a window
// at x = -1 reports 65535.
int32_t UnsignedLowWord(int64_t lParam);
int32_t UnsignedHighWord(int64_t lParam);
// The low word as a signed 16-bit number (a mouse x left of the window is negative).
int32_t SignedLowWord(int64_t lParam);

// The bounds a control stores for a WM_SIZING/WM_MOVING rectangle: left and top as
// given, width right - left + 1 and height bottom - top + 1.
TkoBox BoundsFromSizingRect(const TkoRect& rect);
