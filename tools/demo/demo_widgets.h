#pragma once
// The parts of a desktop the demo films: the desktop with its task bar, windows, menu
// bars with their drop-down lists, buttons, text fields, progress bars, status bars.
// Layout functions say where a part lies (the scripts aim the pointer there); Draw
// functions paint it.
#include <string>
#include <string_view>
#include <vector>

#include "demo_drawing.h"

namespace demo {

// Desktop background and a task bar along the bottom with a clock at its right.
void DrawDesktop(Picture& picture, std::string_view clock);

constexpr int kTitleBarHeight = 18;
// The area below the title bar of a window whose outer edge is `outer`.
Rect WindowClient(Rect outer);
enum class WindowStyle {
  Main,    // minimise, maximise and close boxes
  Dialog,  // only the close box
};
// A raised window with a title bar, coloured when active; returns WindowClient(outer).
Rect DrawWindow(Picture& picture, Rect outer, std::string_view title, bool active,
                WindowStyle style = WindowStyle::Main);
// A folder icon with its label below, the icon's top-left at (x, y).
void DrawFolderIcon(Picture& picture, int x, int y, std::string_view label);

// ---- Menu bar and drop-down list -----------------------------------------------------
constexpr int kMenuBarHeight = 18;
// Where each label of a menu bar along the top of area lies.
std::vector<Rect> MenuBarItems(Rect area, const std::vector<std::string>& labels);
// The bar; the item openItem (-1: none) drawn pressed, as while its list is open.
void DrawMenuBar(Picture& picture, Rect area, const std::vector<std::string>& labels, int openItem);

struct MenuLine {
  std::string label;  // empty: a separator
  std::string shortcut;
};
// The lines of a drop-down list whose top-left is at (left, top), separators included.
std::vector<Rect> DropDownItems(int left, int top, const std::vector<MenuLine>& lines);
// The list, line `highlighted` (-1: none) drawn selected.
void DrawDropDown(Picture& picture, int left, int top, const std::vector<MenuLine>& lines, int highlighted);

// ---- Controls ------------------------------------------------------------------------
void DrawButton(Picture& picture, Rect rect, std::string_view label, bool pressed);
// A sunken white field; caretAt >= 0 draws the caret behind that many characters.
void DrawTextField(Picture& picture, Rect rect, std::string_view text, int caretAt);
void DrawProgressBar(Picture& picture, Rect rect, double fraction);
void DrawStatusBar(Picture& picture, Rect rect, std::string_view text);

}  // namespace demo
