#include "controls/ko_common.h"

namespace {
// One axis of MakeRect: the first and the last coordinate, last pixel included.
void Span(int32_t start, int32_t length, int32_t& low, int32_t& high) {
  if (length >= 0) {
    low = start;
    high = start + length - 1;
  } else {
    low = start + length + 1;
    high = start;
  }
}
}  // namespace

TkoRect RectFromEdges(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  return TkoRect{left, top, right, bottom};
}

TkoRect MakeRect(int32_t x, int32_t y, int32_t width, int32_t height) {
  TkoRect rect;
  Span(x, width, rect.Left, rect.Right);
  Span(y, height, rect.Top, rect.Bottom);
  return rect;
}

TkoFontTraits FontTraitsFromStyle(unsigned style) {
  TkoFontTraits traits;
  traits.Weight = (style & kFontBold) != 0 ? 700 : 400;
  traits.Italic = (style & kFontItalic) != 0;
  traits.Underline = (style & kFontUnderline) != 0;
  traits.StrikeOut = (style & kFontStrikeOut) != 0;
  return traits;
}

bool MenuTextReplacesItem(const std::string& text) { return !text.empty() && text.front() != '\b'; }
