#pragma once
// The text editor window the lesson is about: title bar, menu bar, a white page of
// large text with a caret, and a status bar.
#include <string>
#include <vector>

#include "demo_pointer.h"
#include "demo_widgets.h"

namespace demo {

struct EditorView {
  Rect window;
  std::string title = "Untitled - Editor";
  bool active = true;
  int openMenu = -1;  // menu bar item drawn open
  std::vector<std::string> lines;
  bool caret = false;  // drawn behind the last line's text
  std::string status;
};

// "File", "Edit", "View", "Help".
const std::vector<std::string>& EditorMenuLabels();
// The lines the lesson types.
const std::vector<std::string>& LessonText();

// Where the menu bar, its items and the page lie in an editor of that window.
Rect EditorMenuBar(Rect window);
Rect EditorMenuItem(Rect window, int item);
Rect EditorPage(Rect window);
// The point between characters column - 1 and column of a line, at mid-height.
PointerPosition EditorTextPoint(Rect window, int line, int column);

void DrawEditor(Picture& picture, const EditorView& view);

}  // namespace demo
