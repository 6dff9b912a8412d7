// make_play_film OUT.kof FRAMES RATE SAMPLES: a film of one 770 x 695 x 32 segment of
// typical screen changes for the player's benchmark: a page on which a line of text is
// typed, a word per frame, with the pointer following the text (SAMPLES pointer samples
// per frame, 1 or 3). The records are made as the frames are drawn, two pictures at a
// time.
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "writer/film_writer.h"

using namespace filmwriter;

namespace {
constexpr int kWidth = 770, kHeight = 695;

void FillRect(Picture& picture, int left, int top, int width, int height, uint32_t colour) {
  for (int y = top; y < top + height && y < kHeight; ++y)
    for (int x = left; x < left + width && x < kWidth; ++x) picture.At(x, y) = colour;
}

// Word k of the page: where it goes and how wide it is.
struct Word {
  int x, y, width;
};
Word WordAt(int k) {
  const int perLine = 12, line = (k / perLine) % 30;
  return {20 + (k % perLine) * 62, 20 + line * 22, 30 + (k * 7) % 26};
}

SegmentSpec TypedPage(int frames, float rate, int samples) {
  SegmentSpec spec;
  spec.data.name = "Benchmark";
  spec.framesPerSecond = rate;
  spec.data.samplesPerFrame = samples;
  std::vector<CursorSample> track;
  Picture previous = Picture::Filled(kWidth, kHeight, 0);
  Picture page = Picture::Filled(kWidth, kHeight, 0xF4F4F0);
  for (int k = 0; k < frames; ++k) {
    const Word word = WordAt(k);
    // A new page every 360 words: the whole screen changes then.
    if (k > 0 && k % 360 == 0) page = Picture::Filled(kWidth, kHeight, k % 720 == 0 ? 0xF4F4F0 : 0xF0F4F4);
    FillRect(page, word.x, word.y, word.width, 14, 0x202020 + uint32_t(k % 5) * 0x101010);
    spec.data.frameRecords.push_back(FrameRecord(DifferenceRuns(previous, page)));
    previous = page;
    for (int s = 0; s < samples; ++s)
      track.push_back({0, uint16_t(word.x + word.width + 4 * s), uint16_t(word.y + 20)});
  }
  spec.data.cursorTrack = track;
  spec.width = kWidth;
  spec.height = kHeight;
  spec.packing = Packing::Lzma;
  return spec;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fputs("usage: make_play_film OUT.kof FRAMES RATE SAMPLES\n", stderr);
    return 2;
  }
  const int frames = std::atoi(argv[2]), samples = std::atoi(argv[4]);
  const float rate = float(std::atof(argv[3]));
  if (frames < 1 || rate <= 0 || (samples != 1 && samples != 3)) {
    std::fputs("make_play_film: FRAMES >= 1, RATE > 0, SAMPLES 1 or 3\n", stderr);
    return 2;
  }
  try {
    WriteBytesToFile(argv[1], WithTrailer(BuildFilm({TypedPage(frames, rate, samples)})));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_play_film: %s\n", e.what());
    return 1;
  }
  return 0;
}
