// kof activity as a user runs it: idle stretches and per-second activity of films the
// film writer made, their sound decoded from real MP3s.
#include <sstream>

#include "tools/export_media.h"

using namespace filmwriter;

namespace {
// 6 s of an 8 x 6 picture drawn once; the pointer rests unless it wanders.
SegmentSpec StillSegment(Bytes sound, bool wandering = false) {
  SegmentSpec spec;
  for (int k = 0; k < 60; ++k) spec.data.pictures.push_back(Picture::Filled(8, 6, 0x336699));
  std::vector<CursorSample> track;
  for (int k = 0; k < 60; ++k) track.push_back({0, uint16_t(wandering ? k : 2), 2});
  spec.data.cursorTrack = track;
  spec.soundKind = sound.empty() ? kSoundWave : kSoundMp3;
  spec.sound = std::move(sound);
  return spec;
}

struct Stretch {
  int segment = 0;
  double from = 0, to = 0;
};

std::vector<Stretch> IdleLines(const std::string& out) {
  std::vector<Stretch> stretches;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    Stretch s;
    if (std::sscanf(line.c_str(), "idle %d %lf %lf", &s.segment, &s.from, &s.to) == 3) stretches.push_back(s);
  }
  return stretches;
}
}  // namespace

TEST(KofActivity, FindsTheQuietBetweenSoundsAndTellsEverySecond) {
  TempDir dir;
  // 1: a tone at -20 dBFS in the first and the last second; 2: a tone all through,
  // at -55 dBFS, below the floor; 3: no sound, the pointer always moving.
  const Bytes film = BuildFilm({StillSegment(ToneMp3(6, {{0, 1}, {5, 6}}, PeakOfRms(-20))),
                                StillSegment(ToneMp3(6, {{0, 6}}, PeakOfRms(-55))), StillSegment({}, true)});
  WriteBytesToFile(dir / "film.kof", film);

  const KofRun text = Kof("activity " + Quoted(dir / "film.kof"));
  ASSERT_EQ(text.exitCode, 0) << text.out;
  const std::vector<Stretch> idle = IdleLines(text.out);
  ASSERT_EQ(idle.size(), 2u) << text.out;
  // The decoder's delay moves the sound by some 25 ms: the tone's end is heard in the
  // window after 1.0 s.
  EXPECT_EQ(idle[0].segment, 1);
  EXPECT_GE(idle[0].from, 1.0);
  EXPECT_LE(idle[0].from, 1.2);
  EXPECT_GE(idle[0].to, 4.9);
  EXPECT_LE(idle[0].to, 5.0);
  EXPECT_EQ(idle[1].segment, 2);
  EXPECT_EQ(idle[1].from, 0.0);
  EXPECT_EQ(idle[1].to, 6.0);
  for (const char* part : {"segment 1: 6.000 s, sound mp3, 1 idle stretches\n",
                           "   second 0: pixels 48 in 0,0-8,6, pointer 0 px, shapes 0, sound -2",
                           "   second 3: pixels 0, pointer 0 px, shapes 0, sound silent, idle\n",
                           "segment 3: 6.000 s, sound none, 0 idle stretches\n",
                           "   second 2: pixels 0, pointer 10 px, shapes 0, sound none\n"})
    EXPECT_NE(text.out.find(part), std::string::npos) << part << " in " << text.out;
  // The quiet tone is measured, not taken for silence.
  const size_t second = text.out.find("segment 2:");
  ASSERT_NE(second, std::string::npos);
  EXPECT_NE(text.out.find("second 3: pixels 0, pointer 0 px, shapes 0, sound -5", second), std::string::npos)
      << text.out;

  const KofRun json = Kof("activity " + Quoted(dir / "film.kof") + " --json --idle 4.5");
  ASSERT_EQ(json.exitCode, 0);
  for (const char* part : {"{\"idle_seconds\":4.5,\"segments\":[{\"segment\":1,\"seconds\":6,\"sound\":true",
                           "\"idle\":[{\"segment\":2,\"from\":0,\"to\":6}]",
                           "{\"segment\":3,\"seconds\":6,\"sound\":false,\"warning\":\"\",\"idle\":[],",
                           "\"changed_pixels\":48,\"changed_area\":[0,0,8,6],\"pointer_travel\":0,",
                           "\"pointer_travel\":10,\"shape_changes\":0,\"sound_db\":null,\"idle\":false}"})
    EXPECT_NE(json.out.find(part), std::string::npos) << part << " in " << json.out;
  EXPECT_EQ(json.out.find("{\"segment\":1,\"from\""), std::string::npos) << "4 s of quiet are not 4.5";
  EXPECT_EQ(json.out.back(), '\n');
}

// Sound that cannot be decoded may be speech: it leaves no idle stretch.
TEST(KofActivity, WrongUseFilesThatAreNoFilmsAndSoundThatCannotBeDecoded) {
  TempDir dir;
  WriteBytesToFile(dir / "film.kof", BuildFilm({StillSegment({})}));
  WriteBytesToFile(dir / "noise.kof", BuildFilm({StillSegment(Bytes(8192, 0x55))}));
  WriteBytesToFile(dir / "notes.txt", Bytes{'h', 'i'});
  const std::string film = Quoted(dir / "film.kof");
  const std::string usage = "usage: kof activity FILM [--json] [--idle SECONDS]";
  const struct { std::string arguments; int code; std::string says; } cases[] = {  // says: on standard error
      {"activity", 2, usage},
      {"activity " + film + " --idle", 2, usage},
      {"activity " + film + " --idle soon", 2, usage},
      {"activity " + film + " --idle -1", 2, usage},
      {"activity " + film + " --loud", 2, usage},
      {"activity " + film + " " + film, 2, usage},
      {"activity " + Quoted(dir / "notes.txt"), 1, "not a film"},
      {"activity " + Quoted(dir / "missing.kof"), 1, ""},
      {"activity " + Quoted(dir / "noise.kof"), 0, "kof: segment 1: sound cannot be decoded ("},
  };
  for (const auto& c : cases) {
    const KofRun run = Kof(c.arguments, "", true);
    EXPECT_EQ(run.exitCode, c.code) << c.arguments;
    EXPECT_NE(run.out.find(c.says), std::string::npos) << c.arguments << ": " << run.out;
  }
  EXPECT_NE(Kof("--help").out.find("activity lists each segment's idle stretches"), std::string::npos);
  const KofRun noise = Kof("activity " + Quoted(dir / "noise.kof"));
  EXPECT_TRUE(IdleLines(noise.out).empty()) << noise.out;
  // The whole segment is quiet: one stretch of exactly its length is still idle.
  const KofRun whole = Kof("activity " + film + " --idle 6");
  EXPECT_EQ(whole.exitCode, 0);
  EXPECT_NE(whole.out.find("idle 1 0.000 6.000\n"), std::string::npos) << whole.out;
}
