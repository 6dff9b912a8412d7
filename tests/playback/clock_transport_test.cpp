#include <algorithm>

#include <gtest/gtest.h>

#include "film/ko_error.h"
#include "support/clock_fakes.h"

namespace {

int32_t CountOf(const std::vector<std::string>& log, const std::string& entry) {
  return static_cast<int32_t>(std::count(log.begin(), log.end(), entry));
}

std::vector<std::string> EventsOnly(const std::vector<std::string>& log) {
  std::vector<std::string> events;
  for (const std::string& entry : log)
    if (entry.rfind("event ", 0) == 0) events.push_back(entry);
  return events;
}

}  // namespace

TEST(ClockTransport, PlayStartsTheCurrentSegmentOnceAndAnnouncesIt) {
  ClockRig rig;
  rig.AddSegment(4, 10);
  rig.Shell.FullScreen = true;
  rig.Engine->Play();
  EXPECT_EQ(rig.Engine->State(), psPlaying);
  EXPECT_EQ(EventsOnly(rig.Log), (std::vector<std::string>{"event 4 0", "event 1 0"}));
  EXPECT_EQ(rig.Log.back(), "event 1 0");
  EXPECT_EQ(CountOf(rig.Log, "Select 0"), 1);
  EXPECT_TRUE(rig.Engine->FullScreenAtPlay());
  EXPECT_EQ(rig.Shell.PlacementSaves, 1);
  EXPECT_FALSE(rig.Shell.AcceptsDrops);
  ASSERT_EQ(rig.Timer.Armed.size(), 1u);
  EXPECT_EQ(rig.Timer.Armed[0].Delay, 20u);
  EXPECT_EQ(rig.Timer.Armed[0].Resolution, 5u);
  EXPECT_EQ(rig.Engine->CurrentFrame(), 0);
  // Play while playing changes nothing.
  rig.Engine->Play();
  EXPECT_EQ(rig.Timer.Armed.size(), 1u);
  EXPECT_EQ(EventsOnly(rig.Log).size(), 2u);
}

TEST(ClockTransport, PauseThenPlayResumesAtTheSameFrameWithTheSoundSoughtThere) {
  ClockRig rig;
  rig.AddSegment(20, 10, 0, true, "a.mp3");
  rig.Sound.LengthValue = 20000;
  rig.Engine->Play();
  for (int i = 0; i < 5; ++i) rig.FireTimer();  // frames 0..4 shown, frame 5 loaded
  ASSERT_EQ(rig.Engine->CurrentFrame(), 5);
  rig.Engine->Pause();
  EXPECT_EQ(rig.Engine->State(), psPaused);
  EXPECT_FALSE(rig.Engine->ClockRunning());
  EXPECT_EQ(rig.Sound.Calls.back(), "Pause");
  EXPECT_EQ(rig.Shell.FocusMoves.back(), psPaused);
  // The event armed before the pause arrives later and does nothing.
  const size_t opsBefore = rig.Frames.Ops.size();
  rig.FireTimer();
  EXPECT_EQ(rig.Frames.Ops.size(), opsBefore);
  EXPECT_TRUE(rig.Timer.Pending.empty());

  rig.Log.clear();
  rig.Sound.Calls.clear();
  rig.Engine->Play();
  EXPECT_EQ(EventsOnly(rig.Log), (std::vector<std::string>{"event 1 0"}));
  ASSERT_EQ(rig.Timer.Pending.size(), 1u);
  rig.FireTimer();
  // Re-synced at the first tick: sample Round(20000 x 5 / 20), then played.
  EXPECT_EQ(rig.Sound.Calls,
            (std::vector<std::string>{"Pause", "Format 9", "Seek 5000", "Play", "Format 0", "Position"}));
  EXPECT_EQ(rig.Frames.WholeFrames.back().Frame, 5);
}

TEST(ClockTransport, EndOfTheLastSegmentStopsAndRestoresTheScreenMode) {
  ClockRig rig;
  rig.AddSegment(3, 10, 0, true, "a.mp3");
  TSegmentInfo& second = rig.AddSegment(2, 10);
  second.Width = 1920;  // exactly the screen: full screen goes on at its start
  second.Height = 1080;
  rig.Engine->Play();
  rig.Run();
  EXPECT_EQ(EventsOnly(rig.Log), (std::vector<std::string>{"event 4 0", "event 1 0", "event 4 1", "event 3 0"}));
  const auto on = std::find(rig.Log.begin(), rig.Log.end(), "FullScreen on");
  const auto stop = std::find(rig.Log.begin(), rig.Log.end(), "event 3 0");
  const auto off = std::find(rig.Log.begin(), rig.Log.end(), "FullScreen off");
  EXPECT_TRUE(on < stop && stop < off);
  EXPECT_EQ(rig.Engine->State(), psStopped);
  EXPECT_EQ(rig.Engine->CurrentSegment(), 0);
  EXPECT_EQ(rig.Engine->CurrentFrame(), -1);
  EXPECT_TRUE(rig.Shell.AcceptsDrops);
  EXPECT_EQ(rig.Shell.Destroyed, 0);
  EXPECT_FALSE(rig.Sound.IsOpen());
  EXPECT_TRUE(rig.Timer.Pending.empty());
}

TEST(ClockTransport, CloseOnFinishDestroysTheWindowOnce) {
  ClockRig rig;
  rig.AddSegment(2, 10);
  rig.Engine->SetCloseOnFinish(true);
  // The window's destroy handler stops playback again.
  rig.Shell.OnDestroy = [&rig] { rig.Engine->StopForShutdown(); };
  rig.Engine->Play();
  rig.Run();
  EXPECT_EQ(rig.Shell.Destroyed, 1);
  EXPECT_EQ(rig.Engine->State(), psStopped);
  EXPECT_FALSE(rig.Engine->ClockRunning());
  EXPECT_EQ(CountOf(rig.Log, "Destroy"), 1);
  // The first Stop went straight to the window: nothing after it but the handler's.
  const auto destroy = std::find(rig.Log.begin(), rig.Log.end(), "Destroy");
  EXPECT_EQ(*(destroy - 1), "event 3 0");
}

TEST(ClockTransport, PreviousAndNextAtTheEndsOfTheFilm) {
  ClockRig rig;
  rig.AddSegment(5, 10);
  rig.AddSegment(5, 10);
  rig.Engine->StartSegment(1);
  rig.Log.clear();
  rig.Engine->Next();  // from the last segment: the film stops
  EXPECT_EQ(EventsOnly(rig.Log), (std::vector<std::string>{"event 3 0"}));
  EXPECT_EQ(rig.Engine->State(), psStopped);

  rig.Engine->StartSegment(0);
  const size_t arms = rig.Timer.Armed.size();
  rig.Log.clear();
  rig.Engine->Previous();  // nothing before the first
  EXPECT_TRUE(rig.Log.empty());
  EXPECT_EQ(rig.Timer.Armed.size(), arms);
  EXPECT_TRUE(rig.Engine->ClockRunning());

  EXPECT_FALSE(rig.Engine->StartSegment(-1));
  EXPECT_EQ(rig.Engine->State(), psPlaying);
  EXPECT_FALSE(rig.Engine->StartSegment(2));
  EXPECT_EQ(rig.Engine->State(), psStopped);
}

TEST(ClockTransport, UnplayableSegmentsAreReportedOnceAndSkipped) {
  ClockRig rig;
  rig.AddSegment(2, 10);
  rig.AddSegment(2, 0);                                  // no rate
  rig.AddSegment(2, 10, 0, false).Problem = "damaged";  // no frames
  rig.AddSegment(2, 10);
  // Previous passes over them silently, back to segment 0, though they were never met
  // going forwards.
  rig.Engine->StartSegment(3);
  rig.Log.clear();
  rig.Engine->Previous();
  EXPECT_EQ(rig.Log, (std::vector<std::string>{"event 4 0", "Select 0"}));
  rig.Engine->Stop();
  for (int pass = 0; pass < 2; ++pass) {
    rig.Engine->Play();
    rig.Run();
  }
  EXPECT_EQ(CountOf(rig.Log, "Skip 1 FPS = 0"), 1);
  EXPECT_EQ(CountOf(rig.Log, "Skip 2 damaged"), 1);
  EXPECT_EQ(CountOf(rig.Log, "event 4 3"), 2);
  EXPECT_EQ(CountOf(rig.Log, "event 4 1") + CountOf(rig.Log, "event 4 2"), 0);
}

TEST(ClockTransport, SpeedChangesRetimeTheClockAndSilenceOffNormalSpeed) {
  ClockRig rig;
  rig.AddSegment(50, 10, 1, true, "a.mp3");
  rig.Sound.LengthValue = 1000;
  rig.Engine->Play();
  rig.FireTimer();
  rig.Engine->SpeedChanged(8);
  EXPECT_EQ(rig.Engine->Period(), 1);
  EXPECT_EQ(rig.Timer.Armed.size(), 2u);  // the running chain goes on, no second one
  rig.Sound.Calls.clear();
  rig.FireTimer();
  rig.FireTimer();
  EXPECT_EQ(rig.Sound.Calls, (std::vector<std::string>{"Pause"}));  // no Play, no drift reading
  EXPECT_EQ(rig.Timer.Armed.back().Delay, 1u);
  rig.Engine->SpeedChanged(3);
  EXPECT_EQ(rig.Engine->Period(), 33);
  rig.Sound.Calls.clear();
  rig.FireTimer();
  EXPECT_EQ(CountOf(rig.Sound.Calls, "Play"), 1);
  // While paused a speed change keeps the clock stopped.
  rig.Engine->Pause();
  const size_t arms = rig.Timer.Armed.size();
  rig.Engine->SpeedChanged(0);
  EXPECT_FALSE(rig.Engine->ClockRunning());
  EXPECT_EQ(rig.Timer.Armed.size(), arms);
  EXPECT_EQ(rig.Engine->Period(), 330);
}

TEST(ClockTransport, FailuresStopTheFilm) {
  ClockRig rig;
  rig.AddSegment(10, 10);
  rig.Timer.Refuse = true;
  try {
    rig.Engine->Play();
    FAIL() << "a refused timer must be reported";
  } catch (const EkoError& error) {
    EXPECT_STREQ(error.what(), "MMTimer = 0");
  }
  rig.Timer.Refuse = false;
  rig.Engine->Stop();
  rig.Log.clear();
  rig.Frames.LoadFailsAt = 3;
  rig.Engine->Play();
  rig.Run();
  EXPECT_EQ(rig.Frames.WholeFrames.back().Frame, 2);
  const auto error = std::find(rig.Log.begin(), rig.Log.end(), "Error LoadFrame: Size = 0");
  ASSERT_NE(error, rig.Log.end());
  EXPECT_EQ(*(error + 1), "event 3 0");
  EXPECT_EQ(rig.Engine->State(), psStopped);
  EXPECT_TRUE(rig.Timer.Pending.empty());
}
