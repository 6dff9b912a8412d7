// kof frames as a user runs it: films from the film writer played by the real binary,
// its PNG files read back and compared with the pictures the film was written from,
// the pointer drawn where the track says.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "writer/film_writer.h"
#include "support/png_read.h"
#include "support/shell_quote.h"
#include "tools/kof_run.h"
#include "support/temp_dir.h"

using namespace filmwriter;

namespace {
int KofExitCode(const std::string& arguments) { return Kof(arguments).exitCode; }

// A pointer of 6 x 5 with its hot spot at (2, 3) that covers what lies under it: white
// when monochrome (AND 0, XOR 1), else opaque orange. How the masks combine in general is
// the cursor's own test.
constexpr int kPointerWidth = 6, kPointerHeight = 5, kHotX = 2, kHotY = 3;
uint32_t PointerColour(bool monochrome) { return monochrome ? 0xFFFFFF : 0xE0A000; }
Bytes PointerRecord(bool monochrome) {
  const int pixels = kPointerWidth * kPointerHeight;
  return CursorRecord(monochrome ? MonochromeCursor(kHotX, kHotY, kPointerWidth, kPointerHeight,
                                                    std::vector<uint8_t>(pixels, 0), std::vector<uint8_t>(pixels, 1))
                                 : ColourCursor(kHotX, kHotY, kPointerWidth, kPointerHeight,
                                                std::vector<uint32_t>(pixels, 0xFF000000 | PointerColour(false))));
}

Picture WithPointer(Picture picture, bool monochrome, CursorSample sample) {
  for (int y = sample.y - kHotY; y < sample.y - kHotY + kPointerHeight; ++y)
    for (int x = sample.x - kHotX; x < sample.x - kHotX + kPointerWidth; ++x)
      if (x >= 0 && y >= 0 && x < picture.width && y < picture.height) picture.At(x, y) = PointerColour(monochrome);
  return picture;
}

// Pictures with flat areas and scattered changes, as screens change.
std::vector<Picture> Screens(int width, int height, int count, uint32_t seed) {
  std::vector<Picture> pictures;
  Picture picture = Picture::Filled(width, height, 0xC0C0C0);
  for (int k = 0; k < count; ++k) {
    for (int i = 0; i < width * height / 3; ++i) {
      seed = seed * 1664525u + 1013904223u;
      picture.pixels[(seed >> 8) % picture.pixels.size()] = (seed >> 4) & 0xFFFFFF;
    }
    pictures.push_back(picture);
  }
  return pictures;
}

struct Case {
  const char* what;
  int width, height, depth, samplesPerFrame;
  bool monochrome;
};

// Samples over the whole picture, its corners and edges and beyond them.
std::vector<CursorSample> Track(const Case& c, int frames) {
  const uint16_t right = uint16_t(c.width - 1), bottom = uint16_t(c.height - 1);
  const std::vector<CursorSample> places = {{0, 0, 0},      {0, right, bottom}, {0, right, 0},
                                            {0, 0, bottom}, {0, 3, 2},          {0, uint16_t(c.width + 2), 1},
                                            {0, 1, uint16_t(c.height / 2)}};
  std::vector<CursorSample> track;
  for (int i = 0; i < frames * c.samplesPerFrame; ++i) track.push_back(places[(i * 5 + i / 3) % places.size()]);
  return track;
}
}  // namespace

TEST(KofFrames, PicturesEqualTheWrittenOnesWithThePointerWhereTheTrackSaysIt) {
  const Case cases[] = {
      {"depth 24, odd width, one sample per frame, monochrome", 13, 9, 24, 1, true},
      {"depth 32, three samples per frame, colour", 16, 10, 32, 3, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const int frames = 6;
    SegmentSpec other;  // a segment before it, so the number chosen must be honoured
    other.data.pictures = Screens(5, 4, 2, 99);
    SegmentSpec spec;
    spec.bitsPerPixel = uint8_t(c.depth);
    spec.data.pictures = Screens(c.width, c.height, frames, uint32_t(c.width * 31 + c.depth));
    spec.data.samplesPerFrame = c.samplesPerFrame;
    spec.data.cursorRecords = {EmptyCursorRecord(), PointerRecord(c.monochrome)};
    std::vector<CursorSample> track = Track(c, frames);
    for (CursorSample& s : track) s.index = 1;
    track[size_t(2 * c.samplesPerFrame)].index = 7;  // names no cursor: no pointer on frame 2
    track[size_t(4 * c.samplesPerFrame)].index = 0;  // the empty slot draws nothing either
    spec.data.cursorTrack = track;
    WriteBytesToFile(dir / "film.kof", BuildFilm({other, spec}));

    ASSERT_EQ(KofExitCode("frames " + Quoted(dir / "film.kof") + " --segment 2 --out " + Quoted(dir / "out")), 0);
    ASSERT_EQ(KofExitCode("frames " + Quoted(dir / "film.kof") + " --segment 2 --no-cursor --out " +
                          Quoted(dir / "bare")),
              0);
    for (int k = 0; k < frames; ++k) {
      SCOPED_TRACE("frame " + std::to_string(k));
      const CursorSample sample = track[size_t(k * c.samplesPerFrame)];
      const Picture& written = spec.data.pictures[size_t(k)];
      const Picture expected = sample.index == 1 ? WithPointer(written, c.monochrome, sample) : written;
      const Picture shown = ReadPng(dir / "out" / FrameName(2, k));
      ASSERT_EQ(shown.width, c.width);
      ASSERT_EQ(shown.height, c.height);
      EXPECT_EQ(shown.pixels, expected.pixels);
      EXPECT_EQ(ReadPng(dir / "bare" / FrameName(2, k)).pixels, written.pixels);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "out" / FrameName(2, frames)));
  }
}

TEST(KofFrames, RangeStepBenchAndExitCodes) {
  TempDir dir;
  SegmentSpec spec, sixteen, noRate, small;
  spec.data.pictures = Screens(8, 6, 10, 5);
  spec.data.samplesPerFrame = 3;
  spec.data.cursorRecords = {EmptyCursorRecord()};
  sixteen.data.pictures = noRate.data.pictures = Screens(6, 4, 2, 1);
  sixteen.bitsPerPixel = 16;
  noRate.framesPerSecond = 0.2f;  // rounds to 0
  small.data.pictures = Screens(7, 7, 3, 4);
  small.bitsPerPixel = 24;
  WriteBytesToFile(dir / "film.kof", BuildFilm({spec, sixteen, noRate, small}));
  WriteBytesToFile(dir / "zero.kof", Bytes(64, 0));
  const std::string film = Quoted(dir / "film.kof"), out = " --out " + Quoted(dir / "out");

  ASSERT_EQ(KofExitCode("frames " + film + " --segment 1 --from 2 --to 8 --every 3" + out), 0);
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir / "out"))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{FrameName(1, 2), FrameName(1, 5), FrameName(1, 8)}));
  // Frame 8 is drawn on top of every earlier record, written or not.
  EXPECT_EQ(ReadPng(dir / "out" / FrameName(1, 8)).pixels, spec.data.pictures[8].pixels);

  // bench counts every frame of every playable segment, each repeat.
  const KofRun bench = Kof("bench " + film + " --repeat 3");
  EXPECT_EQ(bench.exitCode, 0);
  int frames = 0;
  double seconds = -1, fps = -1;
  ASSERT_EQ(std::sscanf(bench.out.c_str(), "%d frames in %lf s: %lf fps", &frames, &seconds, &fps), 3) << bench.out;
  EXPECT_EQ(frames, 3 * (10 + 3));

  // Usage (2): no segment, segments count from 1, no folder, bad numbers, unknown option;
  // nothing to give (1): no such segment, depth 16, rate 0, nothing in the range, no film.
  const std::pair<std::string, int> refusals[] = {
      {film + out, 2}, {film + " --segment 0" + out, 2}, {film + " --segment 1", 2},
      {film + " --segment 1 --every 0" + out, 2}, {film + " --segment 1 --from 5 --to 2" + out, 2},
      {film + " --segment 1 --colour" + out, 2}, {film + " --segment 5" + out, 1}, {film + " --segment 2" + out, 1},
      {film + " --segment 3" + out, 1}, {film + " --segment 1 --from 10" + out, 1},
      {Quoted(dir / "zero.kof") + " --segment 1" + out, 1}};
  for (const auto& [arguments, code] : refusals) EXPECT_EQ(KofExitCode("frames " + arguments), code) << arguments;
  EXPECT_EQ(KofExitCode("bench " + film + " --repeat 0"), 2);
  EXPECT_EQ(KofExitCode("bench " + Quoted(dir / "zero.kof")), 1);
}
