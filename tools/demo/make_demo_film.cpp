// make_demo_film OUT.kof: writes the demo film that the play command shows when it is
// given none. Two short segments in the recorder's layout, each with a silent MP3
// track as long as its frames: someone typing into a window (LZX cabinet, depth 32,
// three pointer samples per frame), then a progress bar filling up (LZMA, depth 24
// with padded rows).
#include <cstdio>
#include <exception>

#include "writer/film_writer.h"
#include "writer/mp3_silence.h"

using namespace filmwriter;

namespace {
void FillRect(Picture& picture, int left, int top, int right, int bottom, uint32_t colour) {
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) picture.At(x, y) = colour;
}

// A window with a title bar on a desktop.
Picture Desktop(int width, int height) {
  Picture picture = Picture::Filled(width, height, 0x3A6EA5);
  FillRect(picture, 60, 50, width - 60, height - 50, 0xECECEC);
  FillRect(picture, 60, 50, width - 60, 74, 0x2050A0);
  FillRect(picture, width - 82, 54, width - 66, 70, 0xC04040);
  return picture;
}

// Frame k shows k typed "letters" (small dark blocks), the pointer following the text.
SegmentSpec TypingSegment() {
  constexpr int kWidth = 640, kHeight = 400, kFrames = 60, kPerLine = 40;
  SegmentSpec spec;
  spec.data.name = "\xC7\xED\xE0\xEA\xEE\xEC\xF1\xF2\xE2\xEE";  // "Знакомство" in Windows-1251
  spec.data.cursorRecords = {DefaultCursorRecord(),
                             CursorRecord(ColourCursor(1, 1, 12, 12, std::vector<uint32_t>(144, 0xFFE0A000)))};
  spec.data.samplesPerFrame = 3;
  std::vector<CursorSample> track;
  Picture picture = Desktop(kWidth, kHeight);
  for (int k = 0; k < kFrames; ++k) {
    const int column = k % kPerLine, line = k / kPerLine;
    const int x = 80 + column * 12, y = 90 + line * 20;
    if (k > 0 && (k % 7) != 0) FillRect(picture, x, y, x + 8, y + 12, 0x303030);  // every 7th a space
    spec.data.pictures.push_back(picture);
    for (int s = 0; s < 3; ++s)
      track.push_back({static_cast<uint16_t>(k < kFrames / 2 ? 0 : 1), static_cast<uint16_t>(x + 4 * s + 20),
                       static_cast<uint16_t>(y + 30)});
  }
  spec.data.cursorTrack = track;
  spec.packing = Packing::Lzx;
  spec.sound = SilentMp3(kFrames * 1000 / 10);  // as long as the frames at 10 per second
  return spec;
}

SegmentSpec ProgressSegment() {
  constexpr int kWidth = 481, kHeight = 300, kFrames = 25;
  SegmentSpec spec;
  spec.data.name = "\xC7\xE0\xE3\xF0\xF3\xE7\xEA\xE0";  // "Загрузка"
  std::vector<CursorSample> track;
  Picture picture = Picture::Filled(kWidth, kHeight, 0xF4F4F0);
  FillRect(picture, 40, 130, kWidth - 40, 170, 0xA0A0A0);
  for (int k = 0; k < kFrames; ++k) {
    const int filled = 42 + (kWidth - 84) * k / (kFrames - 1);
    FillRect(picture, 42, 132, filled, 168, 0x30A050);
    spec.data.pictures.push_back(picture);
    track.push_back({0, static_cast<uint16_t>(filled), 180});
  }
  spec.data.cursorTrack = track;
  spec.bitsPerPixel = 24;
  spec.framesPerSecond = 5.0f;
  spec.packing = Packing::Lzma;
  spec.sound = SilentMp3(kFrames * 1000 / 5);
  return spec;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: make_demo_film OUT.kof\n", stderr);
    return 2;
  }
  try {
    // With the trailer the file opens both from the Open dialog and from the command line.
    WriteBytesToFile(argv[1], WithTrailer(BuildFilm({TypingSegment(), ProgressSegment()})));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_demo_film: %s\n", e.what());
    return 1;
  }
  return 0;
}
