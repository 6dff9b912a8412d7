// make_seek_film OUT.kof typical|every-pixel [FRAMES]: one segment of 770 x 695 x 32 at
// 10 frames per second for the seek benchmark (kof bench FILM --seek).
//
// typical (6,000 frames unless told): a screen lesson in an editor. Most frames type a
// character or blink the caret; every 100 frames a menu drops down for 10 frames, every
// 300 a dialog opens for 40, a full editor scrolls a line, and every 1,500 frames
// another document fills the editor.
// every-pixel (300 frames unless told): every pixel changes in every frame, one run per
// pixel, so the picture is noise that does not deflate (8 + 5 x W x H bytes a record; the
// film is built in memory, about four times its size, so keep it to a few hundred frames).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "writer/film_writer.h"

using namespace filmwriter;

namespace {
constexpr int kWidth = 770, kHeight = 695;
constexpr int kCharWidth = 8, kLineHeight = 16;
constexpr int kEditLeft = 48, kEditTop = 86, kEditRight = 722, kEditBottom = 640;

// A small deterministic generator (the same film every time).
class TRandom {
public:
  uint32_t Next() {
    FState = FState * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<uint32_t>(FState >> 33);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }

private:
  uint64_t FState = 12345;
};

class TScreen {
public:
  explicit TScreen(TRandom& random) : FRandom(random), FPicture(Picture::Filled(kWidth, kHeight, 0x3A6EA5)) {
    Fill(36, 20, 734, 660, 0xD4D0C8);   // the editor window
    Fill(36, 20, 734, 44, 0x0A246A);    // its title bar
    for (int x = 44; x < 700; x += 22) Fill(x, 50, x + 16, 66, 0x808080 + uint32_t(FRandom.Below(0x7F7F7F)));
    NewDocument();
  }

  // One frame of the lesson.
  void Step(int frame) {
    if (frame % 1500 == 1499) NewDocument();
    if (frame % 300 == 100) OpenBox(FDialog, 300, 200, 40);
    if (frame % 100 == 60 && FDialog.Frames == 0) OpenBox(FMenu, 150, 220, 10);
    CloseBoxWhenDue(FDialog);
    CloseBoxWhenDue(FMenu);
    if (FRandom.Below(10) < 6) Type();
    if (frame % 5 == 0) Invert(FCaretX, FCaretY, FCaretX + 1, FCaretY + 13);
  }

  const Picture& Shown() const { return FPicture; }

private:
  struct TBox {
    int X = 0, Y = 0, W = 0, H = 0, Frames = 0;
    std::vector<uint32_t> Under;
  };

  void Fill(int left, int top, int right, int bottom, uint32_t colour) {
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) FPicture.At(x, y) = colour;
  }
  void Invert(int left, int top, int right, int bottom) {
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) FPicture.At(x, y) ^= 0xFFFFFF;
  }
  // A made-up glyph: 7 x 13 pixels of ink, its pattern drawn from the generator.
  void Glyph(int left, int top, uint32_t ink) {
    const uint32_t bits = FRandom.Next();
    for (int y = 2; y < 13; ++y)
      for (int x = 0; x < 7; ++x)
        if ((bits >> ((x * 3 + y * 5) % 32)) & 1) FPicture.At(left + x, top + y) = ink;
  }
  void NewDocument() {
    Fill(kEditLeft, kEditTop, kEditRight, kEditBottom, 0xFFFFFF);
    for (int y = kEditTop + 4; y + kLineHeight < kEditBottom - 200; y += kLineHeight)
      for (int x = kEditLeft + 4; x + kCharWidth < kEditRight - FRandom.Below(300); x += kCharWidth)
        if (FRandom.Below(6) != 0) Glyph(x, y, 0x000000);
    FCaretX = kEditLeft + 4;
    FCaretY = kEditBottom - 190;
  }
  void Type() {
    if (FRandom.Below(8) != 0) Glyph(FCaretX, FCaretY, 0x000000);
    FCaretX += kCharWidth;
    if (FCaretX + kCharWidth < kEditRight) return;
    FCaretX = kEditLeft + 4;
    FCaretY += kLineHeight;
    if (FCaretY + kLineHeight < kEditBottom) return;
    FCaretY -= kLineHeight;  // the editor scrolls a line
    for (int y = kEditTop; y < kEditBottom - kLineHeight; ++y)
      std::memcpy(&FPicture.At(kEditLeft, y), &FPicture.At(kEditLeft, y + kLineHeight),
                  sizeof(uint32_t) * (kEditRight - kEditLeft));
    Fill(kEditLeft, kEditBottom - kLineHeight, kEditRight, kEditBottom, 0xFFFFFF);
  }
  void OpenBox(TBox& box, int w, int h, int frames) {
    box = TBox{60 + FRandom.Below(kWidth - w - 120), 60 + FRandom.Below(kHeight - h - 120), w, h, frames, {}};
    for (int y = box.Y; y < box.Y + h; ++y)
      for (int x = box.X; x < box.X + w; ++x) box.Under.push_back(FPicture.At(x, y));
    Fill(box.X, box.Y, box.X + w, box.Y + h, 0xECE9D8);
    Fill(box.X, box.Y, box.X + w, box.Y + 20, 0x0054E3);
    for (int y = box.Y + 28; y + kLineHeight < box.Y + h; y += kLineHeight + 4)
      for (int x = box.X + 10; x + kCharWidth < box.X + w - 20; x += kCharWidth) Glyph(x, y, 0x202020);
  }
  void CloseBoxWhenDue(TBox& box) {
    if (box.Frames == 0 || --box.Frames != 0) return;
    size_t i = 0;
    for (int y = box.Y; y < box.Y + box.H; ++y)
      for (int x = box.X; x < box.X + box.W; ++x) FPicture.At(x, y) = box.Under[i++];
  }

  TRandom& FRandom;
  Picture FPicture;
  TBox FDialog, FMenu;
  int FCaretX = 0, FCaretY = 0;
};

std::vector<Bytes> TypicalRecords(int frames) {
  TRandom random;
  TScreen screen(random);
  std::vector<Bytes> records;
  Picture previous;  // empty: black
  for (int k = 0; k < frames; ++k) {
    if (k > 0) screen.Step(k);
    records.push_back(FrameRecord(DifferenceRuns(previous, screen.Shown())));
    previous = screen.Shown();
  }
  return records;
}

std::vector<Bytes> EveryPixelRecords(int frames) {
  TRandom random;
  std::vector<Run> runs(size_t(kWidth) * kHeight);
  std::vector<Bytes> records;
  for (int k = 0; k < frames; ++k) {
    for (Run& run : runs) run = Run{1 + random.Next() % 0xFFFFFF, 1};
    records.push_back(FrameRecord(runs));
  }
  return records;
}
}  // namespace

int main(int argc, char** argv) {
  const std::string kind = argc >= 3 ? argv[2] : "";
  if ((argc != 3 && argc != 4) || (kind != "typical" && kind != "every-pixel")) {
    std::fputs("usage: make_seek_film OUT.kof typical|every-pixel [FRAMES]\n", stderr);
    return 2;
  }
  const int frames = argc == 4 ? std::atoi(argv[3]) : kind == "typical" ? 6000 : 300;
  if (frames < 1) {
    std::fputs("make_seek_film: FRAMES must be at least 1\n", stderr);
    return 2;
  }
  try {
    SegmentSpec spec;
    spec.data.name = kind == "typical" ? "Typical screen changes" : "Every pixel changes";
    spec.data.frameRecords = kind == "typical" ? TypicalRecords(frames) : EveryPixelRecords(frames);
    spec.width = kWidth;
    spec.height = kHeight;
    spec.soundKind = kSoundWave;
    // Moved, not copied: an every-pixel segment is hundreds of megabytes.
    std::vector<SegmentSpec> segments;
    segments.push_back(std::move(spec));
    const Bytes film = BuildFilm(segments);
    segments.clear();
    WriteBytesToFile(argv[1], WithTrailer(film));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_seek_film: %s\n", e.what());
    return 1;
  }
  return 0;
}
