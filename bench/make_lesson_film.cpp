// rz_make_lesson OUT.kof [SECONDS [lzma]]: a lesson film for the export and web
// benchmarks, made with the film writer: one 770 x 695 segment at 10 frames per second
// (one pointer sample per frame), 10 minutes unless SECONDS says otherwise, with an MP3
// voice track; its data file is stored in a cabinet, or LZMA-packed with "lzma".
// The screen changes as lessons do: text is typed into an editor a character at a
// time, the page scrolls when it is full, a dialog opens now and then, the clock in
// the status bar ticks and the pointer wanders and rests. The text is real (DejaVu
// Sans Mono, 10 pt), words of a lesson, so the text index has something to read.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "demo/mp3_encoder.h"
#include "writer/film_writer.h"
#include "film_text/truetype_text.h"

using namespace filmwriter;


namespace {
constexpr int kWidth = 770, kHeight = 695, kRate = 10;
constexpr int kTextLeft = 48, kTextTop = 60, kLineHeight = 16, kCharWidth = 8, kColumns = 82, kRows = 36;
constexpr uint32_t kPaper = 0xFFFFFF, kInk = 0x202020, kGutter = 0xF0F0F0, kChrome = 0xECE9D8, kTitle = 0x3A6EA5;

void Fill(Picture& p, int left, int top, int width, int height, uint32_t colour) {
  for (int y = std::max(0, top); y < std::min(p.height, top + height); ++y)
    for (int x = std::max(0, left); x < std::min(p.width, left + width); ++x) p.At(x, y) = colour;
}

const TrueTypeFont& Font() {
  static const TrueTypeFont font(FontFace::DejaVuSansMono, 10);
  return font;
}

// A character cell: the character in the editor's font.
void DrawCharacter(Picture& p, int column, int row, uint32_t code) {
  const char text[2] = {char(code), 0};
  Font().Draw(p, kTextLeft + column * kCharWidth, kTextTop + row * kLineHeight, text, kInk);
}

// The words the lesson types, over and over.
const char* const kWords[] = {"open",    "the",    "settings", "window", "and",    "choose",  "display",
                              "options", "then",   "save",     "your",   "project", "before", "closing",
                              "editor",  "select", "format",   "insert", "table",   "picture", "record"};
class Lesson {
public:
  Lesson() : FScreen(Picture::Filled(kWidth, kHeight, kPaper)) {
    Fill(FScreen, 0, 0, kWidth, 24, kTitle);
    Fill(FScreen, 0, 24, kWidth, 24, kChrome);
    Fill(FScreen, 0, 48, kTextLeft - 8, kHeight - 72, kGutter);
    Fill(FScreen, 0, kHeight - 24, kWidth, 24, kChrome);
  }

  const Picture& Frame(int index) {
    const int second = index / kRate;
    if (index % kRate == 0) DrawClock(second);
    if (index % 3 != 0) Type(uint32_t(index));
    const int phase = second % 45;
    if (phase == 30 && index % kRate == 0) OpenDialog();
    if (phase == 34 && index % kRate == 0) Redraw();
    return FScreen;
  }

  // Wanders along a slow curve and rests at every fifth second.
  static CursorSample Pointer(int index) {
    const double t = index / double(kRate);
    const double rest = std::floor(t / 5) * 5;
    const double u = std::fmod(t, 5) < 1.5 ? rest : t;
    return {0, uint16_t(385 + 330 * std::sin(u * 0.37)), uint16_t(347 + 300 * std::sin(u * 0.23 + 1))};
  }

private:
  void OpenDialog() {
    Fill(FScreen, 230, 220, 320, 200, kChrome);
    Fill(FScreen, 230, 220, 320, 22, kTitle);
    Font().Draw(FScreen, 238, 224, "Save changes", 0xFFFFFF);
    Font().Draw(FScreen, 246, 260, "Save the document before closing?", kInk);
  }
  const char* Word() const { return kWords[FWord % std::size(kWords)]; }
  // The next character of the words, a space between them.
  uint32_t NextCharacter() {
    if (Word()[FLetter] == '\0') {
      FLetter = 0;
      FWord += 5;  // through all the words, in an order of its own
      return ' ';
    }
    return uint32_t(uint8_t(Word()[FLetter++]));
  }
  // A new line before a word that would not fit, and now and then before another.
  void Type(uint32_t code) {
    const bool wordStarts = FLetter == 0 && FColumn > 0;
    if (FColumn == kColumns || (wordStarts && (FColumn + std::strlen(Word()) >= size_t(kColumns) || code % 53 == 0)))
      NewLine();
    const uint32_t character = NextCharacter();
    if (character == ' ' && FColumn == 0) return;
    FText.push_back(character);
    DrawCharacter(FScreen, FColumn++, FRow, character);
  }
  void NewLine() {
    FColumn = 0;
    FText.push_back(0);
    if (++FRow < kRows) return;
    FRow = kRows / 2;  // scroll by half a page
    FText.erase(FText.begin(), FText.begin() + LineStart(kRows / 2));
    Redraw();
  }
  size_t LineStart(int line) const {
    size_t i = 0;
    for (int found = 0; found < line && i < FText.size(); ++i) found += FText[i] == 0;
    return i;
  }
  void Redraw() {
    Fill(FScreen, kTextLeft, kTextTop, kWidth - kTextLeft, kRows * kLineHeight, kPaper);
    int column = 0, row = 0;
    for (const uint32_t code : FText) {
      if (code != 0) {
        DrawCharacter(FScreen, column++, row, code);
      } else {
        column = 0;
        ++row;
      }
    }
  }
  void DrawClock(int second) {
    Fill(FScreen, kWidth - 80, kHeight - 20, 64, 14, kChrome);
    char clock[8];
    std::snprintf(clock, sizeof clock, "%02d:%02d", second / 60 % 60, second % 60);
    Font().Draw(FScreen, kWidth - 78, kHeight - 20, clock, 0x000000);
  }

  Picture FScreen;
  std::vector<uint32_t> FText;
  int FColumn = 0, FRow = 0;
  size_t FWord = 0, FLetter = 0;
};

// A voice: syllables of a few tones, with pauses between phrases.
std::vector<int16_t> Voice(int seconds, int sampleRate) {
  std::vector<int16_t> samples(size_t(seconds) * size_t(sampleRate));
  double phase = 0;
  for (size_t i = 0; i < samples.size(); ++i) {
    const double t = double(i) / sampleRate;
    const double syllable = std::fmod(t, 0.25) / 0.25, phrase = std::fmod(t, 4.0);
    if (phrase > 3.2) continue;
    const double pitch = 140 + 40 * std::sin(t * 1.7) + 25 * std::floor(std::fmod(t * 4, 5));
    phase += 2 * M_PI * pitch / sampleRate;
    const double voice = std::sin(phase) + 0.5 * std::sin(2 * phase) + 0.25 * std::sin(3 * phase);
    samples[i] = int16_t(6000 * std::sin(M_PI * syllable) * voice);
  }
  return samples;
}
}  // namespace

int main(int argc, char** argv) {
  const bool lzma = argc == 4 && std::string(argv[3]) == "lzma";
  if (argc < 2 || argc > 4 || (argc == 4 && !lzma)) {
    std::fputs("usage: rz_make_lesson OUT.kof [SECONDS [lzma]]\n", stderr);
    return 2;
  }
  const int seconds = argc >= 3 ? std::atoi(argv[2]) : 600;
  if (seconds < 1) return 2;
  SegmentSpec spec;
  spec.width = kWidth;
  spec.height = kHeight;
  spec.framesPerSecond = kRate;
  spec.data.name = "Lesson";
  if (lzma) spec.packing = Packing::Lzma;
  std::vector<CursorSample> track;
  Lesson lesson;
  Picture previous;
  for (int i = 0; i < seconds * kRate; ++i) {
    const Picture& next = lesson.Frame(i);
    spec.data.frameRecords.push_back(FrameRecord(DifferenceRuns(previous, next)));
    previous = next;
    track.push_back(Lesson::Pointer(i));
  }
  spec.data.cursorTrack = track;
  spec.sound = demo::EncodeMp3(Voice(seconds, 44100), 44100);
  WriteBytesToFile(argv[1], BuildFilm({spec}));
  return 0;
}
