// make_web_films DIR: the films the browser tests open. two.kof: "Первый" (32 bit,
// MSZIP) and "Второй" (24 bit, 322 wide, LZMA), 50 moving frames each; clock.kof: 3 s
// at three pointer samples per frame with a 440 Hz tone (LAME); language.txt: a
// language table (1251) without Stop, for kof pack; habits.kof: 25 s for the habits,
// the bar's preview and resuming; long.kof: 75 s and 50 s at 2 frames
// a second, for the bar's minute steps; lecture.kof: 60 s at 640 x 480,
// long enough to cancel its export halfway; idle.kof: 12 s that stand still, pointer,
// picture and sound, from 1.9 s to 9.0 s; fast.kof: 1 s at 40 frames a second and three
// pointer samples a frame, more pictures than a GIF has hundredths; colours.kof: 30
// frames 176 wide, then 300 frames 160 wide, each with a colour of its own, more than
// a GIF's palette holds; search.kof: real text for Find on screen (search_film.h).
#include <algorithm>
#include <cmath>

#include "../support/moving_film.h"
#include "../support/search_film.h"
#include "demo/mp3_encoder.h"

using namespace testfilms;

namespace {
std::vector<int16_t> Tone(int milliseconds, int rate) {
  std::vector<int16_t> samples(size_t(milliseconds) * size_t(rate) / 1000);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = int16_t(8000 * std::sin(2 * M_PI * 440 * double(i) / rate));
  return samples;
}

// 12 s at 10 fps: moving up to frame 19 (1.9 s), frame 19 again, the pointer resting,
// until frame 90 (9.0 s), moving after; a tone over [0, 1.5) and [9.0, 12), silence
// between. Idle from 1.9 s to 9.0 s: skipping goes on from frame 85 (8.5 s).
SegmentSpec IdleSegment() {
  SegmentSpec idle = MovingSegment("Idle", 320, 240, 0x37474F, 120);
  for (size_t k = 20; k < 90; ++k) {
    idle.data.pictures[k] = idle.data.pictures[19];
    (*idle.data.cursorTrack)[k] = (*idle.data.cursorTrack)[19];
  }
  std::vector<int16_t> sound = Tone(12000, 44100);
  std::fill(sound.begin() + 44100 * 3 / 2, sound.begin() + 44100 * 9, int16_t(0));
  idle.soundKind = kSoundMp3;
  idle.sound = demo::EncodeMp3(sound, 44100);
  return idle;
}

void WriteFilms(const std::filesystem::path& dir) {
  SegmentSpec second = MovingSegment("\xC2\xF2\xEE\xF0\xEE\xE9", 322, 240, 0x2E7D32, 50);  // "Второй" in 1251
  second.bitsPerPixel = 24;
  second.packing = Packing::Lzma;
  const SegmentSpec first = MovingSegment("\xCF\xE5\xF0\xE2\xFB\xE9", 320, 240, 0x1E4E8C, 50);  // "Первый"
  WriteBytesToFile(dir / "two.kof", WithTrailer(BuildFilm({first, second})));

  SegmentSpec clock = MovingSegment("Clock", 160, 120, 0x455A64, 30, 3);
  clock.soundKind = kSoundMp3;
  clock.sound = demo::EncodeMp3(Tone(3000, 44100), 44100);
  WriteBytesToFile(dir / "clock.kof", WithTrailer(BuildFilm({clock})));

  // The habits, the bar's preview and resuming: 15 s, then 10 s with three pointer
  // samples a frame.
  WriteBytesToFile(dir / "habits.kof", WithTrailer(BuildFilm({MovingSegment("First", 320, 240, 0x1E4E8C, 150),
                                                              MovingSegment("Second", 320, 240, 0x2E7D32, 100, 3)})));

  SegmentSpec intro = MovingSegment("Intro", 160, 120, 0x1E4E8C, 150);
  SegmentSpec body = MovingSegment("Body", 160, 120, 0x2E7D32, 100);
  intro.framesPerSecond = body.framesPerSecond = 2;
  WriteBytesToFile(dir / "long.kof", WithTrailer(BuildFilm({intro, body})));
  WriteBytesToFile(dir / "idle.kof", WithTrailer(BuildFilm({IdleSegment()})));
  SegmentSpec fast = MovingSegment("Fast", 160, 120, 0x455A64, 40, 3);
  fast.framesPerSecond = 40;
  WriteBytesToFile(dir / "fast.kof", WithTrailer(BuildFilm({fast})));
  WriteBytesToFile(dir / "colours.kof", WithTrailer(BuildFilm({MovingSegment("Wide", 176, 120, 0x2E7D32, 30),
                                                               MovingSegment("Colours", 160, 120, 0x1E4E8C, 300)})));
  SegmentSpec stopped = MovingSegment("Stopped", 160, 120, 0x8E2430, 10);
  stopped.framesPerSecond = 0.2f;  // rounds to 0: not drawable, the export leaves it out
  WriteBytesToFile(dir / "skipping.kof",
                   WithTrailer(BuildFilm({MovingSegment("Shown", 160, 120, 0x1E4E8C, 20), stopped})));
  WriteBytesToFile(dir / "search.kof", SearchFilm());
  WriteBytesToFile(dir / "lecture.kof", WithTrailer(BuildFilm({MovingSegment("Lecture", 640, 480, 0x1E4E8C, 600)})));

  const std::string table =  // "Части" in 1251
      "Play=Play\r\nPause = Pause \r\nError=Failure\r\nSegments=\xD7\xE0\xF1\xF2\xE8\r\nLoading=Loading...\r\n";
  WriteBytesToFile(dir / "language.txt", Bytes(table.begin(), table.end()));
}
}  // namespace

int main(int argc, char** argv) { return FilmMakerMain(argc, argv, "make_web_films", WriteFilms); }
