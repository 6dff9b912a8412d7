// Typing into an empty editor.
#include <cmath>
#include <cstdio>

#include "demo_editor.h"
#include "demo_filming.h"
#include "demo_segments.h"
#include "demo_sound.h"
#include "demo_typing.h"
#include "mp3_encoder.h"

namespace demo {
namespace {
constexpr Rect kWindow{24, 16, 536, 340};
constexpr double kClickAt = 1.5, kTypingFrom = 2.1;

Typing LessonTyping() { return Typing(LessonText(), kTypingFrom); }

PointerPath TypingPointer(double typingEnd) {
  const PointerPosition click = EditorTextPoint(kWindow, 0, 0);
  const Rect page = EditorPage(kWindow), menu = EditorMenuItem(kWindow, 0);
  const int restX = page.right - 80, restY = page.bottom - 40;
  const int fileX = (menu.left + menu.right) / 2 + 4, fileY = (menu.top + menu.bottom) / 2 + 2;
  return PointerPath({{0.0, 548, 70},
                      {0.3, 548, 70},
                      {1.3, click.x + 4, click.y},
                      {2.3, click.x + 4, click.y},
                      {3.0, restX, restY},
                      {typingEnd + 0.4, restX, restY},
                      {typingEnd + 1.3, fileX, fileY}});
}

std::string Status(const std::vector<std::string>& lines) {
  char text[32];
  std::snprintf(text, sizeof text, "Ln %d, Col %d", int(lines.size()), int(lines.back().size()) + 1);
  return text;
}

void DrawTypingScreen(Picture& picture, double t, const Typing& typing) {
  DrawDesktop(picture, "10:42");
  EditorView view;
  view.window = kWindow;
  view.lines = typing.TypedAt(t);
  if (t >= typing.KeyTimes().front()) view.title = "*" + view.title;
  // The caret shows from the click on; it blinks only while no key is pressed.
  const bool idle = t > typing.End() + 0.5;
  view.caret = t >= kClickAt && (!idle || std::fmod(t - typing.End(), 1.0) < 0.5);
  view.status = Status(view.lines);
  DrawEditor(picture, view);
}
}  // namespace

filmwriter::SegmentSpec TypingSegment() {
  const Typing typing = LessonTyping();
  const PointerPath path = TypingPointer(typing.End());
  Script script;
  script.width = 560;
  script.height = 380;
  script.framesPerSecond = 10;
  script.seconds = typing.End() + 2.0;
  script.samplesPerFrame = 3;
  script.draw = [&](Picture& picture, double t) { DrawTypingScreen(picture, t, typing); };
  script.pointer = [&](double t) {
    const PointerPosition at = path.At(t);
    return PointerSample{at, EditorPage(kWindow).Contains(at.x, at.y) ? kIBeam : kArrow};
  };

  std::vector<SoundCue> cues = {{kClickAt, Cue::Click}};
  for (double key : typing.KeyTimes()) cues.push_back({key, Cue::Key});

  filmwriter::SegmentSpec spec;
  // "Набор текста" (1251)
  spec.data = FilmScript(script, "\xCD\xE0\xE1\xEE\xF0\x20\xF2\xE5\xEA\xF1\xF2\xE0");
  spec.width = script.width;
  spec.height = script.height;
  spec.framesPerSecond = script.framesPerSecond;
  spec.packing = filmwriter::Packing::Lzx;
  spec.sound = EncodeMp3(MixCues(cues, script.seconds), kSoundSampleRate);
  return spec;
}

}  // namespace demo
