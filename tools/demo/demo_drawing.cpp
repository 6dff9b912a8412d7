#include "demo_drawing.h"

#include <algorithm>

#include "demo_theme.h"
#include "film_text/truetype_text.h"

namespace demo {

void FillRect(Picture& picture, Rect rect, uint32_t colour) {
  const int left = std::max(rect.left, 0), right = std::min(rect.right, picture.width);
  const int top = std::max(rect.top, 0), bottom = std::min(rect.bottom, picture.height);
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) picture.At(x, y) = colour;
}

void FrameRect(Picture& picture, Rect r, uint32_t colour) {
  FillRect(picture, {r.left, r.top, r.right, r.top + 1}, colour);
  FillRect(picture, {r.left, r.bottom - 1, r.right, r.bottom}, colour);
  FillRect(picture, {r.left, r.top, r.left + 1, r.bottom}, colour);
  FillRect(picture, {r.right - 1, r.top, r.right, r.bottom}, colour);
}

namespace {
// Top and left edges in one colour, bottom and right in the other.
void Edge(Picture& picture, Rect r, uint32_t topLeft, uint32_t bottomRight) {
  FillRect(picture, {r.left, r.top, r.right, r.top + 1}, topLeft);
  FillRect(picture, {r.left, r.top, r.left + 1, r.bottom}, topLeft);
  FillRect(picture, {r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
  FillRect(picture, {r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

uint32_t Mix(uint32_t from, uint32_t to, int step, int steps) {
  uint32_t mixed = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int a = int(from >> shift & 0xFF), b = int(to >> shift & 0xFF);
    mixed |= uint32_t(a + (b - a) * step / steps) << shift;
  }
  return mixed;
}
}  // namespace

void Bevel(Picture& picture, Rect rect, bool raised) {
  const uint32_t light = theme::kHighlight, dark = theme::kShadow;
  Edge(picture, rect, raised ? light : dark, raised ? theme::kDarkShadow : light);
  Edge(picture, rect.Inset(1), raised ? theme::kFace : theme::kDarkShadow, raised ? dark : theme::kFace);
}

void VerticalGradient(Picture& picture, Rect rect, uint32_t top, uint32_t bottom) {
  const int rows = std::max(rect.Height() - 1, 1);
  for (int y = rect.top; y < rect.bottom; ++y)
    FillRect(picture, {rect.left, y, rect.right, y + 1}, Mix(top, bottom, y - rect.top, rows));
}

void HorizontalGradient(Picture& picture, Rect rect, uint32_t left, uint32_t right) {
  const int columns = std::max(rect.Width() - 1, 1);
  for (int x = rect.left; x < rect.right; ++x)
    FillRect(picture, {x, rect.top, x + 1, rect.bottom}, Mix(left, right, x - rect.left, columns));
}

namespace {
const filmwriter::TrueTypeFont& FontOf(TextStyle style) {
  using filmwriter::FontFace;
  static const filmwriter::TrueTypeFont interface(
      filmwriter::FontInstalled(FontFace::Tahoma) ? FontFace::Tahoma : FontFace::DejaVuSans, 8);
  static const filmwriter::TrueTypeFont editor(FontFace::DejaVuSansMono, 11);
  return style == TextStyle::Editor ? editor : interface;
}
}  // namespace

int TextWidth(std::string_view text, TextStyle style) { return FontOf(style).Width(text); }

int TextHeight(TextStyle style) { return FontOf(style).LineHeight(); }

void DrawText(Picture& picture, int x, int y, std::string_view text, uint32_t colour, TextStyle style) {
  FontOf(style).Draw(picture, x, y, text, colour);
}

}  // namespace demo
