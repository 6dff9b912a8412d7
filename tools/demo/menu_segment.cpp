// Saving through the File menu and the Save As dialog.
#include "demo_editor.h"
#include "demo_filming.h"
#include "demo_segments.h"
#include "demo_sound.h"
#include "demo_theme.h"
#include "demo_typing.h"
#include "mp3_encoder.h"

namespace demo {
namespace {
constexpr Rect kWindow{60, 40, 740, 540};
constexpr Rect kDialog{250, 200, 560, 330};
constexpr double kMenuOpenAt = 1.5, kPickAt = 4.3, kNameFrom = 4.9;

const std::vector<MenuLine>& FileMenu() {
  static const std::vector<MenuLine> lines = {
      {"New", "Ctrl+N"}, {"Open...", "Ctrl+O"}, {"Save", "Ctrl+S"}, {"Save As...", ""}, {"", ""}, {"Exit", "Alt+F4"}};
  return lines;
}
constexpr int kSaveAsLine = 3;

PointerPosition Centre(Rect r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

std::vector<Rect> FileMenuItems() {
  const Rect file = EditorMenuItem(kWindow, 0);
  return DropDownItems(file.left, file.bottom + 1, FileMenu());
}

Rect NameField() {
  const Rect c = WindowClient(kDialog);
  return {c.left + 76, c.top + 16, c.right - 14, c.top + 36};
}
Rect SaveButton() {
  const Rect c = WindowClient(kDialog);
  return {c.right - 162, c.bottom - 34, c.right - 90, c.bottom - 12};
}
Rect CancelButton() {
  const Rect c = WindowClient(kDialog);
  return {c.right - 82, c.bottom - 34, c.right - 10, c.bottom - 12};
}

// The times the script turns on.
struct Timeline {
  Typing name{{"lesson.txt"}, kNameFrom, 0.09};
  double reachSave = name.End() + 1.2;
  double pressSave = reachSave + 0.3;
  double saved = pressSave + 0.15;
  double end = saved + 1.6;
};

PointerPath MenuPointer(const Timeline& at) {
  const std::vector<Rect> items = FileMenuItems();
  const PointerPosition page = EditorTextPoint(kWindow, 2, 26), file = Centre(EditorMenuItem(kWindow, 0));
  std::vector<Waypoint> path = {{0.0, page.x, page.y}, {0.4, page.x, page.y}, {1.3, file.x, file.y},
                                {1.8, file.x, file.y}};
  double t = 2.2;
  for (int line = 0; line <= kSaveAsLine; ++line, t += 0.5) {  // down the list, a pause on each line
    const PointerPosition p = Centre(items[size_t(line)]);
    path.push_back({t, p.x - 20, p.y});
    path.push_back({t + 0.25, p.x - 20, p.y});
  }
  const PointerPosition save = Centre(SaveButton());
  path.push_back({at.name.End() + 0.3, path.back().x, path.back().y});
  path.push_back({at.reachSave, save.x, save.y});
  return PointerPath(path);
}

// The drop-down line under the pointer, or -1.
int LineUnder(PointerPosition p) {
  const std::vector<Rect> items = FileMenuItems();
  for (size_t i = 0; i < items.size(); ++i)
    if (!FileMenu()[i].label.empty() && items[i].Contains(p.x, p.y)) return int(i);
  return -1;
}

void DrawSaveDialog(Picture& picture, double t, const Timeline& at) {
  const Rect c = DrawWindow(picture, kDialog, "Save As", true, WindowStyle::Dialog);
  DrawText(picture, c.left + 12, c.top + 23, "File name:", theme::kText);
  const std::vector<std::string> typed = at.name.TypedAt(t);
  DrawTextField(picture, NameField(), typed.front(), int(typed.front().size()));
  DrawText(picture, c.left + 12, c.top + 50, "Folder: C:\\Lessons", theme::kGreyText);
  DrawButton(picture, SaveButton(), "Save", t >= at.pressSave);
  DrawButton(picture, CancelButton(), "Cancel", false);
}

void DrawMenuScreen(Picture& picture, double t, const Timeline& at, const PointerPath& path) {
  DrawDesktop(picture, "10:43");
  DrawFolderIcon(picture, 14, 24, "Lessons");
  DrawFolderIcon(picture, 14, 94, "Backup");
  const bool menuOpen = t >= kMenuOpenAt && t < kPickAt, dialogOpen = t >= kPickAt && t < at.saved;
  EditorView view;
  view.window = kWindow;
  view.title = t < at.saved ? "*Untitled - Editor" : "lesson.txt - Editor";
  view.active = !dialogOpen;
  view.openMenu = menuOpen ? 0 : -1;
  view.lines = LessonText();
  view.caret = !menuOpen && !dialogOpen;
  view.status = t < at.saved ? "Ln 3, Col 25" : "Saved: C:\\Lessons\\lesson.txt";
  DrawEditor(picture, view);
  if (menuOpen) {
    const Rect file = EditorMenuItem(kWindow, 0);
    DrawDropDown(picture, file.left, file.bottom + 1, FileMenu(), LineUnder(path.At(t)));
  }
  if (dialogOpen) DrawSaveDialog(picture, t, at);
}
}  // namespace

filmwriter::SegmentSpec MenuSegment() {
  const Timeline at;
  const PointerPath path = MenuPointer(at);
  Script script;
  script.width = 800;
  script.height = 600;
  script.framesPerSecond = 12;
  script.seconds = at.end;
  script.draw = [&](Picture& picture, double t) { DrawMenuScreen(picture, t, at, path); };
  script.pointer = [&](double t) {
    const PointerPosition p = path.At(t);
    const bool dialogOpen = t >= kPickAt && t < at.saved, menuOpen = t >= kMenuOpenAt && t < kPickAt;
    if (dialogOpen && (SaveButton().Contains(p.x, p.y) || CancelButton().Contains(p.x, p.y)))
      return PointerSample{p, kHand};
    const bool overText = !dialogOpen && !menuOpen && EditorPage(kWindow).Contains(p.x, p.y);
    return PointerSample{p, overText ? kIBeam : kArrow};
  };

  std::vector<SoundCue> cues = {{kMenuOpenAt, Cue::Click}, {kMenuOpenAt + 0.02, Cue::MenuOpen},
                                {kPickAt, Cue::Click},     {at.pressSave, Cue::Click}};
  for (double key : at.name.KeyTimes()) cues.push_back({key, Cue::Key});

  filmwriter::SegmentSpec spec;
  // "Меню и сохранение" (1251)
  spec.data = FilmScript(script, "\xCC\xE5\xED\xFE\x20\xE8\x20\xF1\xEE\xF5\xF0\xE0\xED\xE5\xED\xE8\xE5");
  spec.width = script.width;
  spec.height = script.height;
  spec.framesPerSecond = script.framesPerSecond;
  spec.packing = filmwriter::Packing::Lzma;
  spec.sound = EncodeMp3(MixCues(cues, script.seconds), kSoundSampleRate);
  return spec;
}

}  // namespace demo
