// A copy dialog filling its progress bar, closed with its button.
#include <algorithm>
#include <cstdio>
#include <string>

#include "demo_filming.h"
#include "demo_segments.h"
#include "demo_theme.h"
#include "demo_widgets.h"

namespace demo {
namespace {
constexpr Rect kDialog{80, 60, 420, 226};
constexpr double kCopyFrom = 0.5, kCopyUntil = 4.5, kPressAt = 5.8, kClosedAt = 6.0, kEnd = 7.0;
const char* const kFiles[] = {"lesson.txt", "notes.txt", "intro.kof", "menus.kof", "sound.mp3", "readme.txt"};
constexpr int kFileCount = int(std::size(kFiles));

Rect CloseButton() {
  const Rect c = WindowClient(kDialog);
  return {c.right - 86, c.bottom - 32, c.right - 12, c.bottom - 10};
}

double Progress(double t) { return std::clamp((t - kCopyFrom) / (kCopyUntil - kCopyFrom), 0.0, 1.0); }

void DrawCopyDialog(Picture& picture, double t) {
  const Rect c = DrawWindow(picture, kDialog, "Copying...", true, WindowStyle::Dialog);
  const double done = Progress(t);
  const int copied = int(done * kFileCount);
  char line[64];
  if (copied < kFileCount) {
    std::snprintf(line, sizeof line, "Copying %s", kFiles[copied]);
  } else {
    std::snprintf(line, sizeof line, "Done: %d files copied.", kFileCount);
  }
  DrawText(picture, c.left + 12, c.top + 14, line, theme::kText);
  DrawText(picture, c.left + 12, c.top + 30, "From C:\\Lessons to D:\\Backup", theme::kGreyText);
  DrawProgressBar(picture, {c.left + 12, c.top + 48, c.right - 12, c.top + 66}, done);
  std::snprintf(line, sizeof line, "%d of %d files", std::min(copied, kFileCount), kFileCount);
  DrawText(picture, c.left + 12, c.top + 76, line, theme::kText);
  DrawButton(picture, CloseButton(), copied < kFileCount ? "Cancel" : "Close", t >= kPressAt);
}

PointerSample CopyPointer(double t) {
  static const PointerPath path({{0.0, 440, 280},
                                 {4.7, 440, 280},
                                 {5.5, (CloseButton().left + CloseButton().right) / 2,
                                  (CloseButton().top + CloseButton().bottom) / 2},
                                 {6.2, (CloseButton().left + CloseButton().right) / 2,
                                  (CloseButton().top + CloseButton().bottom) / 2},
                                 {6.8, 300, 250}});
  const PointerPosition p = path.At(t);
  return {p, t < kClosedAt && CloseButton().Contains(p.x, p.y) ? kHand : kArrow};
}

void DrawCopyScreen(Picture& picture, double t) {
  DrawDesktop(picture, "10:44");
  DrawFolderIcon(picture, 16, 16, "Lessons");
  DrawFolderIcon(picture, 16, 84, "Backup");
  if (t < kClosedAt) DrawCopyDialog(picture, t);
}
}  // namespace

filmwriter::SegmentSpec CopySegment() {
  Script script;
  script.width = 480;
  script.height = 320;
  script.framesPerSecond = 10;
  script.seconds = kEnd;
  script.draw = DrawCopyScreen;
  script.pointer = CopyPointer;

  filmwriter::SegmentSpec spec;
  // "Копирование файлов" (1251)
  spec.data = FilmScript(script, "\xCA\xEE\xEF\xE8\xF0\xEE\xE2\xE0\xED\xE8\xE5\x20\xF4\xE0\xE9\xEB\xEE\xE2");
  spec.width = script.width;
  spec.height = script.height;
  spec.bitsPerPixel = 24;
  spec.framesPerSecond = script.framesPerSecond;
  spec.packing = filmwriter::Packing::MsZip;
  return spec;  // no sound: the player plays the pictures alone
}

}  // namespace demo
