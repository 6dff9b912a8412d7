#pragma once
// Drawing on a picture: rectangles, edges, gradients and text in the demo's fonts.
// Everything is clipped to the picture. Colours are 0x00RRGGBB.
#include <cstdint>
#include <string_view>

#include "writer/data_file_writer.h"

namespace demo {

using filmwriter::Picture;

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom are outside

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  Rect Inset(int by) const { return {left + by, top + by, right - by, bottom - by}; }
};

void FillRect(Picture& picture, Rect rect, uint32_t colour);
// A one-pixel outline just inside rect.
void FrameRect(Picture& picture, Rect rect, uint32_t colour);
// A two-pixel 3-D edge just inside rect: light at top and left when raised, dark
// there when sunken.
void Bevel(Picture& picture, Rect rect, bool raised);
// Rows fading from the top colour to the bottom one; columns from left to right.
void VerticalGradient(Picture& picture, Rect rect, uint32_t top, uint32_t bottom);
void HorizontalGradient(Picture& picture, Rect rect, uint32_t left, uint32_t right);

// The demo's two kinds of text, real TrueType text as a screen at 100 % shows it.
enum class TextStyle {
  Interface,  // menus, titles, dialogs, buttons: Tahoma 8 pt (DejaVu Sans without Wine's fonts)
  Editor,     // the editor's page: DejaVu Sans Mono 11 pt, every character as wide
};
// Width in pixels of text (UTF-8) in style.
int TextWidth(std::string_view text, TextStyle style = TextStyle::Interface);
// Height of a line of text in style.
int TextHeight(TextStyle style = TextStyle::Interface);
// Draws text with its line's top-left at (x, y).
void DrawText(Picture& picture, int x, int y, std::string_view text, uint32_t colour,
              TextStyle style = TextStyle::Interface);

}  // namespace demo
