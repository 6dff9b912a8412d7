// kof export --skip-idle as a user runs it: a film with a known idle stretch comes out
// shorter by the stretch less its last half second, with its pictures, sound and chapters
// following the cut.
#include <limits>

#include "tools/export_media.h"

using namespace filmwriter;
namespace fs = std::filesystem;

namespace {
// A screen whose block stands at a place of its own for every k below 12, on even pixels
// (4:2:0 chroma holds it).
Picture Screen(int k) {
  Picture p = Picture::Filled(64, 48, 0xFFFFFF);
  for (int y = 8 + 2 * (k / 6); y < 14 + 2 * (k / 6); ++y)
    for (int x = 2 * (k % 6); x < 2 * (k % 6) + 8; ++x) p.At(x, y) = 0x202020;
  return p;
}

// Segment 1 ("Lesson"), 8 s at 10 fps: the screen changes every frame up to frame 9
// (0.9 s), stands still until frame 70 (7.0 s) and changes every frame after; a tone
// sounds over [0, 0.5) and [7.0, 8.0); the pointer rests. Idle: 0.9 s to 7.0 s. Segment 2
// ("Summary"), 3 s, changing every frame, silent: never idle.
Bytes IdleFilm() {
  SegmentSpec lesson, summary;
  lesson.data.name = "Lesson";
  for (int k = 0; k < 80; ++k) lesson.data.pictures.push_back(Screen(k < 10 ? k : k < 70 ? 9 : k - 60));
  lesson.data.cursorTrack = std::vector<CursorSample>(80, CursorSample{0, 40, 30});
  lesson.sound = ToneMp3(8, {{0, 0.5}, {7.0, 8.0}});
  summary.data.name = "Summary";
  for (int k = 0; k < 30; ++k) summary.data.pictures.push_back(Screen(k % 12));
  summary.data.cursorTrack = std::vector<CursorSample>(30, CursorSample{0, 40, 30});
  return BuildFilm({lesson, summary});
}
}  // namespace

TEST(KofExportSkipIdle, TheIdleStretchLessItsLastHalfSecondIsCutWithItsSoundAndChapters) {
  TempDir dir;
  const fs::path film = dir / "idle.kof";
  WriteBytesToFile(film, IdleFilm());
  const std::vector<Picture> lesson = KofFrames(dir, film, 1, 80);
  const std::vector<Picture> summary = KofFrames(dir, film, 2, 30);

  const struct {
    const char* out;
    const char* options;
    double cut;  // seconds left out of segment 1
    double psnr;
  } cases[] = {
      // Pictures 10 to 64 go: picture 9 shows the last change, 65 (6.5 s) plays on.
      {"cut.mkv", "--skip-idle 3 --lossless", 5.5, std::numeric_limits<double>::infinity()},
      {"cut.mp4", "--skip-idle 0:06", 5.5, 40},
      {"whole.mp4", "--skip-idle 6.2", 0, 40},  // the stretch lasts 6.1 s: it stays
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.out) + " " + c.options);
    const KofRun run = Kof("export " + Quoted(film) + " -o " + Quoted(dir / c.out) + " " + c.options, "", true);
    ASSERT_EQ(run.exitCode, 0) << run.out;
    const DecodedVideo video = DecodeVideo(dir / c.out);
    const size_t cutPictures = size_t(std::lround(c.cut * 10));
    ASSERT_EQ(video.pictures.size(), 80 - cutPictures + 30);
    EXPECT_NEAR(video.duration, 11.0 - c.cut, 1e-3);
    char chapters[96];
    std::snprintf(chapters, sizeof(chapters), "Lesson 0.00-%.2f, Summary %.2f-%.2f", 8 - c.cut, 8 - c.cut, 11 - c.cut);
    EXPECT_EQ(Chapters(video), chapters);
    // Every kept picture is the player's own, the one after the cut included.
    for (size_t i = 0; i < video.pictures.size(); ++i) {
      const size_t kept = 80 - cutPictures;
      const Picture& shown = i < kept ? lesson[i < 10 ? i : i + cutPictures] : summary[i - kept];
      EXPECT_GE(Psnr(shown, video.pictures[i]), c.psnr) << i;
      EXPECT_NEAR(video.times[i], double(i) / 10, 1e-3) << i;
    }
    // The second tone moves with the pictures: it starts where frame 70 is shown.
    const double onset = SoundOnset(video, 0.6, 0.1f);
    EXPECT_GE(onset, 7.0 - c.cut);
    EXPECT_LT(onset, 7.0 - c.cut + 0.1);
    EXPECT_LT(Loudness(video, 0.6, 6.95 - c.cut), 0.01);
    EXPECT_GT(Loudness(video, 7.1 - c.cut, 7.9 - c.cut), 0.1);
    EXPECT_NEAR(double(video.sound.size()) / video.sampleRate, 11.0 - c.cut, 0.05);
  }
}
