#include "demo_widgets.h"

#include <algorithm>

#include "demo_theme.h"

namespace demo {
namespace {
constexpr int kTaskBarHeight = 26;
constexpr int kMenuPadding = 7;     // left and right of a menu bar label
constexpr int kDropDownLine = 18;   // height of one line of a drop-down list
constexpr int kSeparatorLine = 8;
constexpr int kDropDownWidth = 150;

// Text centred vertically in rect, starting `indent` pixels from its left.
void TextInRect(Picture& picture, Rect rect, std::string_view text, uint32_t colour, int indent) {
  DrawText(picture, rect.left + indent, rect.top + (rect.Height() - TextHeight()) / 2, text, colour);
}
}  // namespace

void DrawDesktop(Picture& picture, std::string_view clock) {
  const int taskBarTop = picture.height - kTaskBarHeight;
  VerticalGradient(picture, {0, 0, picture.width, taskBarTop}, theme::kDesktopTop, theme::kDesktopBottom);
  FillRect(picture, {0, taskBarTop, picture.width, picture.height}, theme::kFace);
  FillRect(picture, {0, taskBarTop + 1, picture.width, taskBarTop + 2}, theme::kHighlight);
  DrawButton(picture, {3, taskBarTop + 4, 60, picture.height - 3}, "Start", false);
  const Rect tray{picture.width - 60, taskBarTop + 4, picture.width - 3, picture.height - 3};
  Bevel(picture, tray, false);
  TextInRect(picture, tray, clock, theme::kText, (tray.Width() - TextWidth(clock)) / 2);
}

Rect WindowClient(Rect outer) {
  return {outer.left + 3, outer.top + 3 + kTitleBarHeight + 1, outer.right - 3, outer.bottom - 3};
}

Rect DrawWindow(Picture& picture, Rect outer, std::string_view title, bool active, WindowStyle style) {
  FillRect(picture, outer, theme::kFace);
  Bevel(picture, outer, true);
  const Rect bar{outer.left + 3, outer.top + 3, outer.right - 3, outer.top + 3 + kTitleBarHeight};
  if (active)
    HorizontalGradient(picture, bar, theme::kTitleLeft, theme::kTitleRight);
  else
    FillRect(picture, bar, theme::kInactiveTitle);
  TextInRect(picture, bar, title, theme::kTitleText, 5);
  const char* boxes[] = {"_", "o", "x"};  // minimise, maximise, close
  for (int i = style == WindowStyle::Main ? 0 : 2; i < 3; ++i) {
    const Rect box{bar.right - 16 * (3 - i) - 2, bar.top + 2, bar.right - 16 * (2 - i) - 4, bar.bottom - 2};
    DrawButton(picture, box, boxes[i], false);
  }
  return WindowClient(outer);
}

void DrawFolderIcon(Picture& picture, int x, int y, std::string_view label) {
  constexpr uint32_t kFolder = 0xE8C050, kFolderEdge = 0x806010;
  FillRect(picture, {x, y, x + 14, y + 5}, kFolderEdge);  // the tab
  FillRect(picture, {x + 1, y + 1, x + 13, y + 5}, kFolder);
  FillRect(picture, {x, y + 4, x + 32, y + 26}, kFolderEdge);
  FillRect(picture, {x + 1, y + 5, x + 31, y + 25}, kFolder);
  const int textX = x + 16 - TextWidth(label) / 2;
  FillRect(picture, {textX - 2, y + 30, textX + TextWidth(label) + 2, y + 31 + TextHeight()}, theme::kDesktopTop);
  DrawText(picture, textX, y + 30, label, theme::kTitleText);
}

std::vector<Rect> MenuBarItems(Rect area, const std::vector<std::string>& labels) {
  std::vector<Rect> items;
  int left = area.left + 2;
  for (const std::string& label : labels) {
    const int right = left + TextWidth(label) + 2 * kMenuPadding;
    items.push_back({left, area.top + 1, right, area.top + kMenuBarHeight - 1});
    left = right;
  }
  return items;
}

void DrawMenuBar(Picture& picture, Rect area, const std::vector<std::string>& labels, int openItem) {
  FillRect(picture, {area.left, area.top, area.right, area.top + kMenuBarHeight}, theme::kFace);
  const std::vector<Rect> items = MenuBarItems(area, labels);
  for (size_t i = 0; i < items.size(); ++i) {
    if (int(i) == openItem) Bevel(picture, items[i], false);
    const int shift = int(i) == openItem ? 1 : 0;
    const int top = items[i].top + (items[i].Height() - TextHeight()) / 2;
    DrawText(picture, items[i].left + kMenuPadding + shift, top + shift, labels[i], theme::kText);
  }
}

std::vector<Rect> DropDownItems(int left, int top, const std::vector<MenuLine>& lines) {
  std::vector<Rect> items;
  int y = top + 3;
  for (const MenuLine& line : lines) {
    const int height = line.label.empty() ? kSeparatorLine : kDropDownLine;
    items.push_back({left + 3, y, left + kDropDownWidth - 3, y + height});
    y += height;
  }
  return items;
}

void DrawDropDown(Picture& picture, int left, int top, const std::vector<MenuLine>& lines, int highlighted) {
  const std::vector<Rect> items = DropDownItems(left, top, lines);
  const Rect outer{left, top, left + kDropDownWidth, items.empty() ? top + 6 : items.back().bottom + 3};
  FillRect(picture, outer, theme::kFace);
  Bevel(picture, outer, true);
  for (size_t i = 0; i < items.size(); ++i) {
    const Rect item = items[i];
    if (lines[i].label.empty()) {
      const int middle = item.top + item.Height() / 2;
      FillRect(picture, {item.left + 1, middle - 1, item.right - 1, middle}, theme::kShadow);
      FillRect(picture, {item.left + 1, middle, item.right - 1, middle + 1}, theme::kHighlight);
      continue;
    }
    const bool selected = int(i) == highlighted;
    if (selected) FillRect(picture, item, theme::kSelection);
    const uint32_t colour = selected ? theme::kSelectionText : theme::kText;
    TextInRect(picture, item, lines[i].label, colour, 18);
    TextInRect(picture, item, lines[i].shortcut, colour, item.Width() - 10 - TextWidth(lines[i].shortcut));
  }
}

void DrawButton(Picture& picture, Rect rect, std::string_view label, bool pressed) {
  FillRect(picture, rect, theme::kFace);
  Bevel(picture, rect, !pressed);
  const int shift = pressed ? 1 : 0;
  DrawText(picture, rect.left + (rect.Width() - TextWidth(label)) / 2 + shift,
           rect.top + (rect.Height() - TextHeight()) / 2 + shift, label, theme::kText);
}

void DrawTextField(Picture& picture, Rect rect, std::string_view text, int caretAt) {
  FillRect(picture, rect, theme::kWindow);
  Bevel(picture, rect, false);
  const Rect inside = rect.Inset(2);
  TextInRect(picture, inside, text, theme::kText, 3);
  if (caretAt < 0) return;
  const int x = inside.left + 3 + TextWidth(text.substr(0, size_t(caretAt))) + 1;
  FillRect(picture, {x, inside.top + 2, x + 1, inside.bottom - 2}, theme::kText);
}

void DrawProgressBar(Picture& picture, Rect rect, double fraction) {
  FillRect(picture, rect, theme::kFace);
  Bevel(picture, rect, false);
  const Rect inside = rect.Inset(3);
  // Blocks of 8 pixels with a gap, as such bars fill.
  const int filled = int(inside.Width() * std::clamp(fraction, 0.0, 1.0));
  for (int x = inside.left; x < inside.left + filled; x += 10)
    FillRect(picture, {x, inside.top, std::min(x + 8, inside.left + filled), inside.bottom}, theme::kProgress);
}

void DrawStatusBar(Picture& picture, Rect rect, std::string_view text) {
  FillRect(picture, rect, theme::kFace);
  const Rect field{rect.left + 2, rect.top + 2, rect.right - 2, rect.bottom - 1};
  FrameRect(picture, field, theme::kShadow);
  TextInRect(picture, field, text, theme::kText, 4);
}

}  // namespace demo
