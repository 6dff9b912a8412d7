// rz_make_film OUT.kof SEGMENT...: writes a film for the end-to-end tests. Each SEGMENT
// is FRAMESxRATE, with "s" behind it for a silent sound track as long as its frames:
// "100x10s" is 100 frames at 10 per second with sound; a rate of 0 makes a segment the
// player cannot time. Pictures are 160 x 120 and one colour each, which tells the
// segment and the frame a screenshot shows:
//   red = frame % 256, green = 30 + 60 x segment (from 0), blue = 20 + 40 x (frame / 256).
#include <cstdio>
#include <exception>
#include <string>

#include "writer/film_writer.h"
#include "writer/mp3_silence.h"

using namespace filmwriter;

namespace {
constexpr int kWidth = 160, kHeight = 120;

SegmentSpec Segment(int index, const std::string& text) {
  int frames = 0, rate = 0;
  char sound = 0;
  if (std::sscanf(text.c_str(), "%dx%d%c", &frames, &rate, &sound) < 2 || frames < 1 || rate < 0 ||
      (sound != 0 && sound != 's'))
    throw std::invalid_argument("bad segment \"" + text + "\" (FRAMESxRATE[s])");
  SegmentSpec spec;
  spec.data.name = "Segment " + std::to_string(index + 1);
  for (int k = 0; k < frames; ++k) {
    const uint32_t colour = uint32_t(k % 256) << 16 | uint32_t(30 + 60 * index) << 8 | uint32_t(20 + 40 * (k / 256));
    spec.data.pictures.push_back(Picture::Filled(kWidth, kHeight, colour));
  }
  spec.framesPerSecond = static_cast<float>(rate);
  spec.soundKind = sound == 's' ? kSoundMp3 : kSoundWave;
  if (sound == 's') spec.sound = SilentMp3(static_cast<uint32_t>(frames * 1000 / (rate > 0 ? rate : 10)));
  return spec;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs("usage: rz_make_film OUT.kof FRAMESxRATE[s]...\n", stderr);
    return 2;
  }
  try {
    std::vector<SegmentSpec> segments;
    for (int i = 2; i < argc; ++i) segments.push_back(Segment(i - 2, argv[i]));
    WriteBytesToFile(argv[1], WithTrailer(BuildFilm(segments)));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "rz_make_film: %s\n", e.what());
    return 1;
  }
  return 0;
}
