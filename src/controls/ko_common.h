#pragma once
// The small rules behind the shared window routines (ko_common_win.h) that need no
// window: rectangles from position and size, the font style bits, and when a menu text
// replaces an item's text.
#include <cstdint>
#include <string>

#include "playback/picture_layout.h"  // TkoRect, TkoBox

// The rectangle with these four edges, as given.
TkoRect RectFromEdges(int32_t left, int32_t top, int32_t right, int32_t bottom);

// The rectangle of a position and a size whose last pixel is included: a width w >= 0
// spans x .. x + w - 1, a negative width spans x + w + 1 .. x (it grows to the left);
// the same for y and the height.
TkoRect MakeRect(int32_t x, int32_t y, int32_t width, int32_t height);

// Style bits of CreateFontByName.
constexpr unsigned kFontBold = 1;
constexpr unsigned kFontItalic = 2;
constexpr unsigned kFontUnderline = 4;
constexpr unsigned kFontStrikeOut = 8;

// What the style bits set in a font description.
struct TkoFontTraits {
  int32_t Weight = 400;  // 700 when bold
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  bool operator==(const TkoFontTraits&) const = default;
};
TkoFontTraits FontTraitsFromStyle(unsigned style);

// Whether SetMenuText changes an item for this (UTF-8) text: not when it is empty and
// not when it begins with the backspace character, which is what a missing language
// table value followed by its shortcut suffix looks like.
bool MenuTextReplacesItem(const std::string& text);
