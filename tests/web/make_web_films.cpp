// make_web_films DIR: the films the browser tests of the web player open, written by the
// film writer.
//
//   two.kof        1 "Первый" 320 x 240 x 32, 50 frames at 10 per second, MSZIP, one
//                  pointer sample per frame; 2 "Второй" 322 x 240 x 24 (rows padded),
//                  50 frames, LZMA. Every frame differs; the pointer follows a block.
//   clock.kof      30 frames of 160 x 120 at 10 per second (3 s), three pointer samples
//                  per frame, and 3 s of a 440 Hz tone as MP3 (LAME)
//   junk.kof       bytes that are no film
//   damaged.kof    10 frames, a segment whose cabinet's member list lies beyond its
//                  end, 30 frames
//   truncated.kof  two.kof cut off in its second segment's packed block
//   language.txt   a language table (Windows-1251) for kof pack: Play, Pause, Error,
//                  Segments and Loading, without Stop
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>

#include "demo/mp3_encoder.h"
#include "writer/film_writer.h"

using namespace filmwriter;

namespace {
void FillBox(Picture& picture, int left, int top, int width, int height, uint32_t colour) {
  for (int y = std::max(top, 0); y < std::min(top + height, picture.height); ++y)
    for (int x = std::max(left, 0); x < std::min(left + width, picture.width); ++x) picture.At(x, y) = colour;
}

// Frame k: a block gliding right and down over stripes, and a bar growing along the
// bottom, so that no two frames are alike and a misplaced row shows.
Picture MovingFrame(int width, int height, uint32_t background, int k) {
  Picture picture = Picture::Filled(width, height, background);
  for (int y = 0; y < height; y += 8) FillBox(picture, 0, y, width, 1, background ^ 0x202020);
  FillBox(picture, 20, 20, width - 40, 12, 0xFFFFFF);
  FillBox(picture, 10 + (k * 7) % (width - 40), 40 + (k * 3) % (height - 90), 30, 30, 0xFFD020 ^ uint32_t(k));
  FillBox(picture, 0, height - 16, 2 + k * 3, 16, 0x202020);
  return picture;
}

SegmentSpec MovingSegment(const char* name, int width, int height, uint32_t background, int frames, int samples) {
  SegmentSpec spec;
  spec.data.name = name;
  spec.data.samplesPerFrame = samples;
  std::vector<CursorSample> track;
  for (int k = 0; k < frames; ++k) {
    spec.data.pictures.push_back(MovingFrame(width, height, background, k));
    for (int s = 0; s < samples; ++s)
      track.push_back({0, uint16_t(40 + (k * 7) % (width - 40) + 4 * s), uint16_t(60 + (k * 3) % (height - 90))});
  }
  spec.data.cursorTrack = track;
  spec.soundKind = kSoundWave;
  spec.packing = Packing::MsZip;
  return spec;
}

// Windows-1251 bytes of a UTF-8 text made of ASCII and Russian letters.
std::string Cp1251(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = uint8_t(text[i]);
    if (c < 0x80) {
      out += char(c);
      continue;
    }
    const unsigned code = (c & 0x1F) << 6 | (uint8_t(text[++i]) & 0x3F);
    out += code == 0x401 ? char(0xA8) : code == 0x451 ? char(0xB8) : char(code - 0x410 + 0xC0);
  }
  return out;
}

std::vector<int16_t> Tone(int milliseconds, int rate) {
  std::vector<int16_t> samples(size_t(milliseconds) * size_t(rate) / 1000);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = int16_t(8000 * std::sin(2 * M_PI * 440 * double(i) / rate));
  return samples;
}

void WriteFilms(const std::filesystem::path& dir) {
  std::filesystem::create_directories(dir);
  SegmentSpec second = MovingSegment(Cp1251("Второй").c_str(), 322, 240, 0x2E7D32, 50, 1);
  second.bitsPerPixel = 24;
  second.packing = Packing::Lzma;
  const Bytes two = WithTrailer(BuildFilm({MovingSegment(Cp1251("Первый").c_str(), 320, 240, 0x1E4E8C, 50, 1), second}));
  WriteBytesToFile(dir / "two.kof", two);
  WriteBytesToFile(dir / "truncated.kof", Bytes(two.begin(), two.begin() + std::ptrdiff_t(two.size() * 3 / 4)));

  SegmentSpec clock = MovingSegment("Clock", 160, 120, 0x455A64, 30, 3);
  clock.soundKind = kSoundMp3;
  clock.sound = demo::EncodeMp3(Tone(3000, 44100), 44100);
  WriteBytesToFile(dir / "clock.kof", WithTrailer(BuildFilm({clock})));

  Bytes junk(3000);
  for (size_t i = 0; i < junk.size(); ++i) junk[i] = uint8_t(i * 131 + 7);
  WriteBytesToFile(dir / "junk.kof", junk);

  SegmentSpec damaged = MovingSegment("Damaged", 320, 240, 0x8E2430, 10, 1);
  damaged.packedBlock = DamageCabinet(BuildCabinet({{"koS_20090406171337001.dat", BuildDataFile(damaged.data).bytes}}),
                                      CabDamage::FileTableBeyondEnd);
  WriteBytesToFile(dir / "damaged.kof", WithTrailer(BuildFilm({MovingSegment("Before", 320, 240, 0x1E4E8C, 10, 1),
                                                               damaged, MovingSegment("After", 320, 240, 0x2E7D32, 30, 1)})));

  const std::string table = Cp1251("Play=Play\r\nPause = Pause \r\nError=Failure\r\nSegments=Части\r\nLoading=Loading...\r\n");
  WriteBytesToFile(dir / "language.txt", Bytes(table.begin(), table.end()));
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: make_web_films DIR\n", stderr);
    return 2;
  }
  try {
    WriteFilms(argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_web_films: %s\n", e.what());
    return 1;
  }
  return 0;
}
