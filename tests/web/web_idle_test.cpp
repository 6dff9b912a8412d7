// The page's activity strip and skipping idle stretches, in the web player's portable
// part: a segment measured with the page's sound samples, the levels the strip shows,
// and playback that jumps over a stretch only while it plays into one, the bar not dragged.
#include "web/web_activity.h"

#include <gtest/gtest.h>

#include <cmath>

#include "player_rig.h"
#include "writer/mp3_silence.h"

using namespace filmwriter;

namespace {
// 6 s at 10 fps, 8 x 6: a change every frame up to frame 9 (0.9 s) and from frame 50
// (5.0 s); the picture stands still between. No pointer, no MP3.
SegmentSpec StillBetween(const std::string& name) {
  SegmentSpec spec = Moving(name, 8, 32, 60);
  for (int k = 10; k < 50; ++k) spec.data.pictures[size_t(k)] = spec.data.pictures[9];
  return spec;
}

// Plays on until the frame shown changes; the frame then.
int32_t NextFrame(PlayerRig& rig) {
  const int32_t before = rig.player.Engine().ShownFrame();
  for (int i = 0; i < 20 && rig.player.Engine().ShownFrame() == before; ++i) rig.Tick(1);
  return rig.player.Engine().ShownFrame();
}
}  // namespace

TEST(WebActivity, MeasuresASegmentWithThePagesSoundAndHandsOnItsStretches) {
  PlayerRig rig;
  SegmentSpec broken = Moving("C", 8, 32, 5);
  broken.framesPerSecond = 0.2f;  // rounds to 0: not played
  ASSERT_TRUE(rig.Open(BuildFilm({StillBetween("A"), broken})));
  rig.player.Command(112);  // Stop: nothing plays meanwhile
  TWebActivity activity;

  EXPECT_EQ(activity.Begin(rig.player.Segments(), 0), R"({"segment":0,"sound":"","rate":0})");
  std::string json = activity.Finish();
  EXPECT_NE(json.find(R"("idle":[[0.9,5]])"), std::string::npos) << json;
  EXPECT_NE(json.find(R"("seconds":6,"slices":[[0,1,)"), std::string::npos) << json;
  EXPECT_EQ(activity.Segment(), 0);

  // The page's samples, 1,000 a second in two channels: a loud tenth of a second at
  // 1.0 s moves the stretch's start to the end of the last window that holds some of it
  // (from 1.075 s); quiet sound elsewhere leaves it idle.
  activity.Begin(rig.player.Segments(), 0);
  activity.BeginSound(1000, 2);
  std::vector<float> samples(2 * 6000, 0.001f);
  for (size_t i = 2 * 1000; i < 2 * 1100; ++i) samples[i] = 0.5f;
  activity.AddSound(samples.data(), 2500);
  activity.AddSound(samples.data() + 2 * 2500, 3500);
  json = activity.Finish();
  ASSERT_EQ(activity.Idle().size(), 1u) << json;
  EXPECT_NEAR(activity.Idle()[0].From, 1.175, 1e-9);
  EXPECT_NEAR(activity.Idle()[0].To, 5.0, 1e-9);

  EXPECT_EQ(activity.Begin(rig.player.Segments(), 1), R"({"segment":1,"skip":true})");
  EXPECT_EQ(activity.Finish(), "") << "nothing to measure";
  EXPECT_EQ(activity.Begin(rig.player.Segments(), 2), R"({"done":true})");

  // A segment with an MP3: the page is told where it is and its rate.
  SegmentSpec voiced = StillBetween("V");
  voiced.soundKind = filmwriter::kSoundMp3;
  voiced.sound = SilentMp3(6000);
  ASSERT_TRUE(rig.Open(BuildFilm({voiced}), "voiced.kof"));
  const std::string begun = activity.Begin(rig.player.Segments(), 0);
  EXPECT_NE(begun.find(".mp3\",\"rate\":48000}"), std::string::npos) << begun;
  // The page could not decode it (no samples came): it may be speech, nothing is idle.
  json = activity.Finish();
  EXPECT_TRUE(activity.Idle().empty()) << json;
}

TEST(WebPlayer, SkippingJumpsOnlyWhilePlayingIntoAnIdleStretch) {
  PlayerRig rig;
  ASSERT_TRUE(rig.Open(BuildFilm({StillBetween("A"), StillBetween("B")})));
  rig.player.SetIdleStretches(0, {{0, 0.9, 5.0}});

  // Off: every frame plays.
  for (int32_t k = rig.player.Engine().ShownFrame(); k < 12; k = NextFrame(rig)) ASSERT_LE(k, 12);
  EXPECT_EQ(rig.player.Engine().ShownFrame(), 12);
  EXPECT_TRUE(rig.page.Named("skipped").empty());

  // On, but the bar dragged: the film follows the mouse, and a tick onto the stretch plays it.
  rig.player.SetSkipIdle(true);
  rig.player.ScrubBar(2 + 8, 2 + 2 * 60 + 2);  // 0.8 s
  EXPECT_EQ(NextFrame(rig), 9);
  EXPECT_EQ(NextFrame(rig), 10);
  rig.player.ReleaseBar();
  EXPECT_TRUE(rig.page.Named("skipped").empty());

  // Released, from the start: the stretch's first frame goes on at 4.5 s, still playing.
  rig.player.PlaySegment(0);
  int32_t frame = rig.player.Engine().ShownFrame();
  while (frame < 8) frame = NextFrame(rig);
  EXPECT_EQ(frame, 8);
  EXPECT_EQ(NextFrame(rig), 45);
  EXPECT_EQ(rig.player.Engine().State(), psPlaying);
  ASSERT_EQ(rig.page.Named("skipped").size(), 1u);
  EXPECT_EQ(rig.page.Named("skipped")[0], R"({"event":"skipped","seconds":3.6,"text":"Пропущено 00:00:03"})");
  EXPECT_EQ(NextFrame(rig), 46);

  // A search hit that pauses on the stretch's first frame: Play plays the stretch.
  ASSERT_TRUE(rig.player.ShowTextHit(0, 0.9));
  EXPECT_EQ(rig.player.Engine().ShownFrame(), 9);
  rig.player.Command(110);
  EXPECT_EQ(NextFrame(rig), 10);
  EXPECT_EQ(rig.page.Named("skipped").size(), 1u);

  // Paused, stepping and scrubbing through it stay as they are; playing from inside
  // the stretch plays it.
  rig.player.Command(111);
  rig.player.ScrubBar(2 + 1, 2 + 2 * 60 + 2);  // 0.1 s of 12 s, two pixels a tenth
  rig.player.ReleaseBar();
  rig.player.StepBar(1);
  EXPECT_EQ(rig.player.Engine().ShownFrame(), 11);
  EXPECT_EQ(rig.player.Engine().State(), psPaused);
  rig.player.Command(110);
  EXPECT_EQ(NextFrame(rig), 12);
  EXPECT_EQ(rig.page.Named("skipped").size(), 1u);

  // The second segment has no stretches told yet; a new film forgets the first's.
  rig.player.PlaySegment(1);
  for (frame = rig.player.Engine().ShownFrame(); frame < 11;) frame = NextFrame(rig);
  EXPECT_EQ(frame, 11);
  ASSERT_TRUE(rig.Open(BuildFilm({StillBetween("A")}), "again.kof"));
  for (frame = rig.player.Engine().ShownFrame(); frame < 11;) frame = NextFrame(rig);
  EXPECT_EQ(frame, 11);
  EXPECT_EQ(rig.page.Named("skipped").size(), 1u);
}
