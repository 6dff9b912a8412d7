// make_e2e_films DIR: the films the end-to-end tests play, with the trailer, so that
// they open from the command line and from the Open dialog. pictures.kof: moving frames
// of 320 x 240 at 10 fps in "Intro" (32 bit), "Middle" (24 bit, 322 wide: rows padded)
// and "End" (a silent MP3); large.kof: 1400 x 1000, larger than the screen; clock1.kof
// and clock3.kof: 3 s with one and three pointer samples per frame; depth16.kof and
// damaged.kof: a 16-bit segment, a damaged cabinet between good segments; closing.kof: a damaged cabinet last; noise.kof: an
// MP3 track that is no MP3; panel.kof and seek.kof: Coloured frames (below); habits.kof:
// the player's habits, the bar's preview and resuming; idle.kof: an idle stretch (below);
// export.kof: exporting a video from the player (below); search.kof: finding on screen
// (below).
#include "../support/moving_film.h"
#include "../support/search_film.h"
#include "writer/mp3_silence.h"

using namespace testfilms;

namespace {
std::vector<SegmentSpec> PictureSegments() {
  SegmentSpec middle = MovingSegment("Middle", 322, 240, 0x2E7D32, 100);
  middle.bitsPerPixel = 24;
  middle.packing = Packing::Lzma;
  SegmentSpec end = MovingSegment("End", 320, 240, 0x8E2430, 60);
  end.soundKind = kSoundMp3;
  end.sound = SilentMp3(6000);
  return {MovingSegment("Intro", 320, 240, 0x1E4E8C, 100), middle, end};
}

// Blocks of 100 x 100 in eight colours, a frame a reduced copy can be told from.
SegmentSpec LargeSegment() {
  constexpr int kWidth = 1400, kHeight = 1000, kFrames = 40;
  static const uint32_t kColours[] = {0xC62828, 0x2E7D32, 0x1565C0, 0xF9A825,
                                      0x6A1B9A, 0x00838F, 0xEFEBE9, 0x212121};
  Picture picture = Picture::Filled(kWidth, kHeight, 0);
  for (int row = 0; row < kHeight / 100; ++row)
    for (int column = 0; column < kWidth / 100; ++column)
      FillBox(picture, column * 100, row * 100, 100, 100, kColours[(row * 3 + column) % 8]);
  SegmentSpec spec;
  spec.data.name = "Large";
  spec.data.pictures.assign(kFrames, picture);
  spec.framesPerSecond = 5.0f;
  spec.soundKind = kSoundWave;
  spec.packing = Packing::MsZip;
  return spec;
}

// 160 x 120 pictures of one colour each, which tells the segment and the frame a
// screenshot shows: red = frame % 256, green = 30 + 60 x index, blue = 20 + 40 x (frame
// / 256); with a silent MP3 track of soundMs when that is not 0.
SegmentSpec Coloured(int index, int frames, float rate, uint32_t soundMs = 0) {
  SegmentSpec spec;
  spec.data.name = "Segment " + std::to_string(index + 1);
  for (int k = 0; k < frames; ++k) {
    const uint32_t colour = uint32_t(k % 256) << 16 | uint32_t(30 + 60 * index) << 8 | uint32_t(20 + 40 * (k / 256));
    spec.data.pictures.push_back(Picture::Filled(160, 120, colour));
  }
  spec.framesPerSecond = rate;
  spec.soundKind = soundMs > 0 ? kSoundMp3 : kSoundWave;
  if (soundMs > 0) spec.sound = SilentMp3(soundMs);
  return spec;
}

// 12 s at 10 fps of 160 x 120 pictures coloured as Coloured's segment 0, but still
// from 2 s to 10 s: frames 0-20 and 100-119 each change the picture; a silent MP3 plays
// throughout, so the stretch is idle only when the sound is found silent.
SegmentSpec IdleSegment() {
  SegmentSpec spec = Coloured(0, 120, 10, 12000);
  for (int k = 21; k < 100; ++k) spec.data.pictures[size_t(k)] = spec.data.pictures[20];
  spec.data.name = "Idle";
  return spec;
}

// A segment whose cabinet's member list lies beyond its end: its header still gives
// frames frames at 10 per second, but nothing of it can be played.
SegmentSpec Damaged(int frames) {
  SegmentSpec damaged = MovingSegment("Damaged", 320, 240, 0x8E2430, frames);
  damaged.packedBlock = DamageCabinet(BuildCabinet({{"koS_20090406171337001.dat", BuildDataFile(damaged.data).bytes}}),
                                      CabDamage::FileTableBeyondEnd);
  return damaged;
}

Bytes Film(const std::vector<SegmentSpec>& segments) { return WithTrailer(BuildFilm(segments)); }

// 4 minutes of a 640 x 480 screen on which only the pointer moves, three samples a frame:
// 7,200 pictures to export, seconds of work. The frames after the first change nothing
// (one small record each), so the film stays small.
SegmentSpec LongStill() {
  constexpr int kWidth = 640, kHeight = 480, kFrames = 2400, kSamples = 3;
  SegmentSpec spec;
  spec.data.name = "Long";
  spec.data.samplesPerFrame = kSamples;
  spec.data.pictures = {MovingFrame(kWidth, kHeight, 0x1E4E8C, 0)};
  const Picture& still = spec.data.pictures.front();
  spec.data.frameRecords.assign(kFrames - 1, FrameRecord(DifferenceRuns(still, still)));
  std::vector<CursorSample> track;
  for (int k = 0; k < kFrames * kSamples; ++k)
    track.push_back({0, uint16_t(40 + (k * 5) % (kWidth - 80)), uint16_t(60 + (k * 3) % (kHeight - 120))});
  spec.data.cursorTrack = track;
  spec.soundKind = kSoundWave;
  spec.packing = Packing::MsZip;
  return spec;
}

void WriteFilms(const std::filesystem::path& dir) {
  WriteBytesToFile(dir / "pictures.kof", Film(PictureSegments()));
  WriteBytesToFile(dir / "large.kof", Film({LargeSegment()}));
  SegmentSpec clock = Coloured(0, 30, 10, 3000);
  WriteBytesToFile(dir / "clock1.kof", Film({clock}));
  clock.data.samplesPerFrame = 3;
  WriteBytesToFile(dir / "clock3.kof", Film({clock}));

  SegmentSpec shallow = MovingSegment("Shallow", 320, 240, 0x1E4E8C, 10);
  shallow.bitsPerPixel = 16;
  WriteBytesToFile(dir / "depth16.kof", Film({shallow}));


  const SegmentSpec before = MovingSegment("Before", 320, 240, 0x1E4E8C, 10);
  WriteBytesToFile(dir / "damaged.kof", Film({before, Damaged(10), MovingSegment("After", 320, 240, 0x2E7D32, 100)}));
  WriteBytesToFile(dir / "closing.kof", Film({Coloured(0, 100, 10), Damaged(100)}));
  SegmentSpec noise = Coloured(0, 100, 10);
  noise.soundKind = kSoundMp3;
  noise.sound = Bytes(4000, 0x5A);
  WriteBytesToFile(dir / "noise.kof", Film({noise}));

  WriteBytesToFile(dir / "panel.kof",
                   Film({Coloured(0, 20, 0), Coloured(1, 100, 10, 10000), Coloured(2, 50, 10), Coloured(3, 450, 10)}));
  WriteBytesToFile(dir / "seek.kof", Film({Coloured(0, 60, 10, 6000), Coloured(1, 80, 10, 8000)}));

  // The player's habits, the bar's preview and resuming: 12 s with a silent MP3 (its
  // volume can change), then 20 s with three pointer samples a frame; 400 x 300, so
  // the preview is a reduction by 3.
  SegmentSpec first = MovingSegment("First", 400, 300, 0x1E4E8C, 120);
  first.soundKind = kSoundMp3;
  first.sound = SilentMp3(12000);
  WriteBytesToFile(dir / "habits.kof", Film({first, MovingSegment("Second", 400, 300, 0x2E7D32, 200, 3)}));
  WriteBytesToFile(dir / "idle.kof", Film({IdleSegment()}));
  // Export from the player: a long segment that takes a while to export and plays on
  // meanwhile, and a short one exported alone.
  WriteBytesToFile(dir / "export.kof", Film({LongStill(), Coloured(1, 40, 10)}));
  WriteBytesToFile(dir / "search.kof", SearchFilm());
}
}  // namespace

int main(int argc, char** argv) { return FilmMakerMain(argc, argv, "make_e2e_films", WriteFilms); }
