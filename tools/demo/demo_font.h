#pragma once
// A 5 x 7 bitmap font for printable ASCII (32 to 126), the letters of the demo film.
#include <cstdint>

namespace demo {

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr int kGlyphAdvance = 6;  // one blank column between letters

// The glyph's kGlyphWidth columns, left to right; bit 0 of each is the top row.
// Characters outside printable ASCII give the glyph of '?'.
const uint8_t* Glyph(char ch);

}  // namespace demo
