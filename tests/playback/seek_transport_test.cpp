// Seeking in the transport over recording fakes: where the seek commands land across
// segment boundaries, and what a seek does to the play state, the clock and the sound.
#include <gtest/gtest.h>

#include "session/command_ids.h"
#include "session/transport_commands.h"
#include "playback/seek_target.h"
#include "support/clock_fakes.h"

namespace {
using Texts = std::vector<std::string>;

// 100 frames at 10 per second, one without rate, 50 at 5, one without frames, 30 at 10.
struct FiveSegments : ClockRig {
  FiveSegments() {
    AddSegment(100, 10, 0, true, "a.mp3");
    AddSegment(20, 0);
    AddSegment(50, 5, 1);
    AddSegment(0, 10);
    AddSegment(30, 10);
  }
};
}  // namespace

TEST(SeekTarget, SecondsAndStepsWalkOverThePlayableSegmentsAndStopAtTheFilmsEnds) {
  FiveSegments film;
  struct Case {
    int32_t Segment, Frame;
    double Seconds;
    TFilmFrame Expected;
  };
  const Case bySeconds[] = {
      {0, 10, 5, {0, 60}},       {0, 90, 5, {2, 20}},  // 9 s + 5 s: 4 s into the 10 s of segment 2
      {2, 0, -0.05, {0, 99}},    {2, 0, -10, {0, 0}},  {0, 3, -5, {0, 0}},
      {4, 29, 5, {4, 29}},       {2, 49, 0.3, {4, 1}},  // over the segment without frames
      {1, 7, 0, {2, 0}},         {9, 0, 0, {4, 29}},    // from a segment that cannot be played
      {0, 33, 0.09, {0, 33}},    {0, 33, 0.1, {0, 34}},  {0, 1, 0.7, {0, 8}},  // 0.1 + 0.7 = 0.7999...
      {2, 45, 1, {4, 0}},        // exactly the end of segment 2: the next one's first frame
      {2, 40, 3, {4, 10}},       // 1 s past the end of segment 2 (10 s; segment 4 has 3 s)
      {4, 0, -0.2, {2, 49}},     // back into segment 2's last 0.2 s
      {-1, 0, 0, {0, 0}},        // before the first segment
  };
  for (const Case& c : bySeconds)
    EXPECT_EQ(FrameAfterSeconds(film.Segments, c.Segment, c.Frame, c.Seconds), c.Expected)
        << c.Segment << ":" << c.Frame << " " << c.Seconds;
  const Case bySteps[] = {{0, 99, 1, {2, 0}}, {2, 0, -1, {0, 99}}, {2, 49, 2, {4, 1}}, {4, 29, 1, {4, 29}},
                          {0, 0, -1, {0, 0}}, {0, 5, 150, {4, 5}}, {0, 5, 300, {4, 29}}};
  for (const Case& c : bySteps)
    EXPECT_EQ(FrameAfterSteps(film.Segments, c.Segment, c.Frame, int32_t(c.Seconds)), c.Expected)
        << c.Segment << ":" << c.Frame << " " << c.Seconds;
  const std::pair<double, int32_t> atSeconds[] = {{0, 0},      {0.3, 3},  {0.35, 3}, {0.7, 7},
                                                  {9.99, 99}, {100, 99}, {-1, 0}};
  for (const auto& [seconds, frame] : atSeconds) EXPECT_EQ(FrameAtSeconds(*film.Segments.Get(0), seconds), frame);
  EXPECT_EQ(FrameAtSeconds(*film.Segments.Get(1), 1), 0) << "no rate";
  TSegmentList none;
  EXPECT_EQ(FrameAfterSeconds(none, 0, 0, 5).Segment, -1);
}

TEST(SeekTransport, FromStoppedASeekPausesOnTheFrameAndPlayGoesOnFromIt) {
  FiveSegments film;
  film.Sound.LengthValue = 1000;
  film.Shell.FullScreen = true;
  film.Frames.Ops.clear();
  EXPECT_TRUE(film.Engine->SeekTo(0, 42));
  EXPECT_EQ(film.Engine->State(), psPaused);
  EXPECT_EQ(film.Log, (Texts{"event 4 0", "Select 0"}));
  EXPECT_EQ(film.Frames.Calls(0), "Prepare 0 Clear ResetBuffer ResetCursor LayOut Restore Seek 42 ResetCursor "
                                  "Sample Save Draw Commit Whole Load 43");
  EXPECT_EQ(std::tuple(film.Engine->ShownFrame(), film.Engine->CurrentFrame(), film.Engine->TickCounter()),
            std::tuple(42, 43, 43));
  EXPECT_TRUE(film.Engine->FullScreenAtPlay());
  EXPECT_EQ(film.Shell.PlacementSaves, 1);
  EXPECT_TRUE(film.Timer.Pending.empty()) << "the clock stays stopped";
  EXPECT_EQ(film.Sound.Calls, (Texts{"Open"}));

  film.Sound.Calls.clear();
  film.Engine->Play();
  film.FireTimer();
  EXPECT_EQ(film.Frames.WholeFrames.back(), (Shown{43, 0, 43}));
  EXPECT_EQ(Texts(film.Sound.Calls.begin(), film.Sound.Calls.begin() + 4), (Texts{"Pause", "Format 9", "Seek 430", "Play"}));

  // Unplayable segments and frames beyond the segment.
  EXPECT_FALSE(film.Engine->SeekTo(1, 0));
  EXPECT_FALSE(film.Engine->SeekTo(3, 0));
  EXPECT_FALSE(film.Engine->SeekTo(7, 0));
  EXPECT_TRUE(film.Engine->SeekTo(4, 500));
  EXPECT_EQ(film.Engine->ShownFrame(), 29);
  EXPECT_EQ(film.Engine->State(), psPlaying);
}

TEST(SeekTransport, WhilePlayingASeekStartsANewChainAndTheLastFrameLeadsOn) {
  FiveSegments film;
  film.Engine->Play();
  film.FireTimer();
  const size_t armed = film.Timer.Armed.size();
  EXPECT_TRUE(film.Engine->SeekTo(0, 70));
  ASSERT_EQ(film.Timer.Armed.size(), armed + 1);
  EXPECT_EQ(film.Timer.Armed.back().Delay, 20u);
  film.Run();  // the old chain's event is dropped; the film plays on to its end
  std::vector<int32_t> shown;
  for (const Shown& s : film.Frames.WholeFrames) shown.push_back(s.Segment * 1000 + s.Frame);
  EXPECT_EQ(std::count(shown.begin(), shown.end(), 70), 1) << "shown once, by the seek";
  EXPECT_EQ(std::count(shown.begin(), shown.end(), 71), 1);
  EXPECT_EQ(film.Engine->State(), psStopped);

  // The last frame of a segment with one sample per frame: while playing, Next at once;
  // while paused, when Play is pressed; at the film's last frame Play stops the film.
  film.Engine->Play();
  film.Log.clear();
  EXPECT_TRUE(film.Engine->SeekTo(0, 99));
  EXPECT_EQ(film.Shell.NextPending, 1);
  film.Shell.NextPending = 0;
  film.Engine->Pause();
  EXPECT_TRUE(film.Engine->SeekTo(0, 99));
  EXPECT_EQ(film.Shell.NextPending, 0);
  film.Engine->Play();
  EXPECT_EQ(film.Engine->CurrentSegment(), 2);
  EXPECT_EQ(film.Engine->State(), psPlaying);
  film.Engine->Pause();
  film.Engine->SeekToSegmentEnd();
  EXPECT_EQ(std::tuple(film.Engine->CurrentSegment(), film.Engine->ShownFrame()), std::tuple(2, 49));
  film.Engine->Play();  // three samples a frame: the tick after the last frame leads on
  for (int i = 0; i < 5 && film.Shell.NextPending == 0; ++i) film.FireTimer();
  EXPECT_EQ(film.Shell.NextPending, 1);
  EXPECT_EQ(film.Shell.NextPostedAtTick.back(), 3 * 49 + 1);
  film.Engine->Pause();
  EXPECT_TRUE(film.Engine->SeekTo(4, 29));
  film.Engine->Play();
  EXPECT_EQ(film.Engine->State(), psStopped);
}

TEST(SeekTransport, TheCommandsWalkTheFilmAndFrameStepsWaitForAPause) {
  FiveSegments film;
  struct Step {
    int32_t Command;
    int32_t Segment, Frame;
  };
  film.Engine->Play();
  film.FireTimer();
  EXPECT_FALSE(film.Engine->StepFrame(1)) << "only while paused";
  film.Engine->Pause();
  const Step steps[] = {
      {CM_SEEK_FORWARD, 0, 50},  {CM_NEXT_FRAME, 0, 51},    {CM_SEGMENT_END, 0, 99},   {CM_NEXT_FRAME, 2, 0},
      {CM_PREVIOUS_FRAME, 0, 99}, {CM_SEEK_FORWARD, 2, 24}, {CM_SEGMENT_START, 2, 0},  {CM_SEEK_BACK, 0, 50},
      {CM_SEEK_BACK, 0, 0},      {CM_PREVIOUS_FRAME, 0, 0},
  };
  for (const Step& step : steps) {
    EXPECT_TRUE(RunTransportCommand(*film.Engine, step.Command));
    EXPECT_EQ(std::tuple(film.Engine->CurrentSegment(), film.Engine->ShownFrame(), film.Engine->State()),
              std::tuple(step.Segment, step.Frame, psPaused))
        << step.Command;
  }
  EXPECT_EQ(film.Frames.ForeignAccesses, 0);
  EXPECT_FALSE(RunTransportCommand(*film.Engine, CM_SAVE_PICTURE)) << "the shell's";
}
