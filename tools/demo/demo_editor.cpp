#include "demo_editor.h"

#include "demo_theme.h"

namespace demo {
namespace {
constexpr int kLineHeight = 22;
constexpr int kPageMargin = 8;
constexpr int kStatusHeight = 20;

Rect ClientArea(Rect window) { return WindowClient(window); }
}  // namespace

const std::vector<std::string>& EditorMenuLabels() {
  static const std::vector<std::string> labels = {"File", "Edit", "View", "Help"};
  return labels;
}

const std::vector<std::string>& LessonText() {
  static const std::vector<std::string> lines = {"Hello! This is a lesson.", "roRezodu plays it back:",
                                                 "picture, pointer, sound."};
  return lines;
}

Rect EditorMenuBar(Rect window) {
  const Rect client = ClientArea(window);
  return {client.left, client.top, client.right, client.top + kMenuBarHeight};
}

Rect EditorMenuItem(Rect window, int item) { return MenuBarItems(EditorMenuBar(window), EditorMenuLabels())[item]; }

Rect EditorPage(Rect window) {
  const Rect client = ClientArea(window);
  return {client.left, client.top + kMenuBarHeight, client.right, client.bottom - kStatusHeight};
}

PointerPosition EditorTextPoint(Rect window, int line, int column) {
  const Rect page = EditorPage(window);
  const int advance = TextWidth("M", TextStyle::Editor);  // a monospaced font
  return {page.left + kPageMargin + column * advance - 1,
          page.top + kPageMargin + line * kLineHeight + TextHeight(TextStyle::Editor) / 2};
}

void DrawEditor(Picture& picture, const EditorView& view) {
  DrawWindow(picture, view.window, view.title, view.active);
  DrawMenuBar(picture, EditorMenuBar(view.window), EditorMenuLabels(), view.openMenu);
  const Rect page = EditorPage(view.window);
  FillRect(picture, page, theme::kWindow);
  Bevel(picture, page, false);
  for (size_t i = 0; i < view.lines.size(); ++i)
    DrawText(picture, page.left + kPageMargin, page.top + kPageMargin + int(i) * kLineHeight, view.lines[i],
             theme::kText, TextStyle::Editor);
  if (view.caret) {
    const int line = view.lines.empty() ? 0 : int(view.lines.size()) - 1;
    const int column = view.lines.empty() ? 0 : int(view.lines.back().size());
    const PointerPosition at = EditorTextPoint(view.window, line, column);
    FillRect(picture, {at.x, at.y - 9, at.x + 2, at.y + 9}, theme::kText);
  }
  const Rect client = ClientArea(view.window);
  DrawStatusBar(picture, {client.left, client.bottom - kStatusHeight, client.right, client.bottom}, view.status);
}

}  // namespace demo
