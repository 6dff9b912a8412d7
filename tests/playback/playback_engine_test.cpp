// The playback clock and transport over recording fakes: what each command and each
// timer event makes the engine do, in virtual time.
#include "playback/playback_engine.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/clock_fakes.h"
#include "support/error_text.h"

namespace {
using Texts = std::vector<std::string>;

template <class T, class U>
int64_t CountOf(const std::vector<T>& items, const U& item) {
  return std::count(items.begin(), items.end(), item);
}

std::vector<uint32_t> Delays(const FakeTimer& timer) {
  std::vector<uint32_t> delays;
  for (const ArmedEvent& event : timer.Armed) delays.push_back(event.Delay);
  return delays;
}
}  // namespace

TEST(PlaybackEngine, PlayStartsTheSegmentOnceAndPauseThenPlayResumeAtTheSameFrame) {
  ClockRig rig;
  rig.AddSegment(20, 10, 0, true, "a.mp3");
  rig.Sound.LengthValue = 20000;
  rig.Shell.FullScreen = true;
  rig.Engine->Play();
  rig.Engine->Play();  // while playing: nothing
  EXPECT_EQ(rig.Log, (Texts{"event 4 0", "Select 0", "event 1 0"}));
  EXPECT_TRUE(rig.Engine->FullScreenAtPlay());
  EXPECT_EQ(rig.Shell.PlacementSaves, 1);
  EXPECT_FALSE(rig.Shell.AcceptsDrops);
  ASSERT_EQ(rig.Timer.Armed.size(), 1u);
  EXPECT_EQ(std::pair(rig.Timer.Armed[0].Delay, rig.Timer.Armed[0].Resolution), std::pair(20u, 5u));

  for (int i = 0; i < 5; ++i) rig.FireTimer();  // frames 0..4 shown, frame 5 read
  rig.Engine->Pause();
  EXPECT_EQ(rig.Shell.FocusMoves, (std::vector<TPlayState>{psPlaying, psPaused}));
  EXPECT_EQ(rig.Sound.Calls.back(), "Pause");
  const size_t ops = rig.Frames.Ops.size();
  rig.FireTimer();  // armed before the pause: it does nothing
  EXPECT_EQ(rig.Frames.Ops.size(), ops);
  EXPECT_TRUE(rig.Timer.Pending.empty());

  rig.Log.clear();
  rig.Sound.Calls.clear();
  rig.Engine->Play();
  EXPECT_EQ(rig.Log, Texts{"event 1 0"});
  rig.FireTimer();
  // Sought at the first tick to sample Round(20000 × 5 / 20) and played; then the drift.
  EXPECT_EQ(rig.Sound.Calls, (Texts{"Pause", "Format 9", "Seek 5000", "Play", "Format 0", "Position"}));
  EXPECT_EQ(rig.Frames.WholeFrames.back(), (Shown{5, 0, 5}));
}

// The full-screen rule compares the picture at its zoom with the screen (1920 x 1080):
// a 960 x 540 film shown at twice its size fills it, a 1920 x 1080 one so shown does not.
TEST(PlaybackEngine, AFrameShownAsLargeAsTheScreenGoesFullScreen) {
  for (const auto& [zoom, width, height, fullScreen] :
       {std::tuple(2, 960, 540, true), std::tuple(2, 1920, 1080, false), std::tuple(1, 960, 540, false)}) {
    ClockRig rig;
    rig.Frames.Zoom = zoom;
    TSegmentInfo& segment = rig.AddSegment(2, 10);
    segment.Width = width, segment.Height = height;
    rig.Engine->Play();
    EXPECT_EQ(rig.Shell.FullScreen, fullScreen) << width << " at x" << zoom;
  }
}

TEST(PlaybackEngine, TheEndOfTheFilmStopsOrDestroysTheWindowOnce) {
  for (bool closeOnFinish : {false, true}) {
    SCOPED_TRACE(closeOnFinish);
    ClockRig rig;
    rig.AddSegment(3, 10, 0, true, "a.mp3");
    TSegmentInfo& second = rig.AddSegment(2, 10);
    second.Width = 1920, second.Height = 1080;  // the screen's size: full screen at its start
    rig.Engine->SetCloseOnFinish(closeOnFinish);
    rig.Shell.OnDestroy = [&rig] { rig.Engine->StopForShutdown(); };  // the window's destroy handler
    rig.Engine->Play();
    rig.Run();
    Texts log = {"event 4 0", "Select 0", "event 1 0", "FullScreen on", "event 4 1", "Select 1", "event 3 0"};
    if (closeOnFinish) log.insert(log.end(), {"Destroy", "event 3 0"});
    log.push_back("FullScreen off");
    EXPECT_EQ(rig.Log, log);
    EXPECT_EQ(std::tuple(rig.Engine->State(), rig.Engine->CurrentSegment(), rig.Engine->CurrentFrame()),
              std::tuple(psStopped, 0, -1));
    EXPECT_TRUE(rig.Shell.AcceptsDrops && !rig.Sound.IsOpen() && !rig.Engine->ClockRunning());
    EXPECT_TRUE(rig.Timer.Pending.empty());
  }
}

TEST(PlaybackEngine, UnplayableSegmentsAreSkippedAndReportedOnceGoingForwards) {
  ClockRig rig;
  rig.AddSegment(2, 10);
  rig.AddSegment(2, 0);                                  // no rate
  rig.AddSegment(2, 10, 0, false).Problem = "damaged";  // no frames
  rig.AddSegment(2, 10);
  rig.Engine->StartSegment(3);
  rig.Log.clear();
  rig.Engine->Previous();  // passes them silently, though they were never met going forwards
  EXPECT_EQ(rig.Log, (Texts{"event 4 0", "Select 0"}));
  const size_t arms = rig.Timer.Armed.size();
  rig.Engine->Previous();  // nothing before the first
  EXPECT_FALSE(rig.Engine->StartSegment(-1));
  EXPECT_EQ(std::pair(rig.Log.size(), rig.Timer.Armed.size()), std::pair(size_t(2), arms));
  EXPECT_EQ(rig.Engine->State(), psPlaying);

  rig.Run();
  rig.Engine->Play();
  rig.Run();
  EXPECT_EQ(CountOf(rig.Log, "Skip 1 FPS = 0"), 1);
  EXPECT_EQ(CountOf(rig.Log, "Skip 2 damaged"), 1);
  EXPECT_EQ(CountOf(rig.Log, "event 4 3"), 2);
  EXPECT_EQ(CountOf(rig.Log, "event 4 1") + CountOf(rig.Log, "event 4 2"), 0);
  EXPECT_FALSE(rig.Engine->StartSegment(4));
  EXPECT_EQ(rig.Engine->State(), psStopped);
}

TEST(PlaybackEngine, SpeedChangesRetimeTheClockAndSilenceOffNormalSpeed) {
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
  EXPECT_EQ(rig.Sound.Calls, Texts{"Pause"});  // no Play, no drift reading
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
  EXPECT_EQ(std::tuple(rig.Engine->ClockRunning(), rig.Timer.Armed.size(), rig.Engine->Period()),
            std::tuple(false, arms, 330));
}

TEST(PlaybackEngine, RefusedTimerEventsAndUnreadableRecordsStopTheFilm) {
  ClockRig rig;
  rig.AddSegment(10, 10);
  rig.Timer.Refuse = true;
  EXPECT_EQ(ErrorOf([&] { rig.Engine->Play(); }), "MMTimer = 0");
  rig.Timer.Refuse = false;
  rig.Engine->Stop();
  rig.Engine->Play();
  rig.FireTimer();
  rig.Timer.Refuse = true;
  EXPECT_THROW(rig.FireTimer(), EkoError);  // the next event cannot be armed: silent until restarted
  EXPECT_TRUE(rig.Timer.Pending.empty());
  rig.Timer.Refuse = false;
  rig.Engine->Pause();
  rig.Engine->Play();
  rig.Frames.LoadFailsAt = 3;
  rig.Log.clear();
  rig.Run();
  EXPECT_EQ(rig.Frames.WholeFrames.back().Frame, 2);
  EXPECT_EQ(rig.Log, (Texts{"event 3 0", "Error LoadFrame: Size = 0"})) << "stopped before the error is shown";
  EXPECT_TRUE(rig.Engine->State() == psStopped && rig.Timer.Pending.empty());
}

TEST(PlaybackEngine, ThreeSamplesPerFrameMoveThePointerEveryTickAndShowFrameKAtTick3K) {
  ClockRig rig;
  rig.AddSegment(4, 10, 1);
  rig.AddSegment(2, 10, 1);
  rig.Engine->Play();
  EXPECT_EQ(rig.Engine->Period(), 33);
  for (int i = 0; i < 4; ++i) rig.FireTimer();
  // A record is read at 3K + 1, expanded at 3K + 2, laid on and shown at 3K + 3; only
  // the pointer's area is shown in between.
  EXPECT_EQ(rig.Frames.Calls(0, 1), "Restore Sample Save Draw CursorArea Commit Load 1");
  EXPECT_EQ(rig.Frames.Calls(0, 2), "Restore Sample Save Draw CursorArea Commit Unpack 1");
  EXPECT_EQ(rig.Frames.Calls(0, 3), "Restore Sample Save Draw Commit Restore Apply 1 Save Draw Whole");
  rig.Run();
  // The first chain's last event arrives after the second segment has started and is
  // dropped; the second segment starts from its own first frame.
  EXPECT_EQ(rig.Frames.WholeFrames,
            (std::vector<Shown>{{0, 0, 0}, {3, 0, 1}, {6, 0, 2}, {9, 0, 3}, {0, 1, 0}, {3, 1, 1}}));
  EXPECT_EQ(rig.Shell.NextPostedAtTick, (std::vector<int32_t>{10, 4}));
  EXPECT_EQ(rig.Frames.ForeignAccesses, 0);
  // Every event after a chain's first is armed at the period, at 25 ms resolution.
  for (const ArmedEvent& event : rig.Timer.Armed)
    EXPECT_TRUE((event.Delay == 20 && event.Resolution == 5) || (event.Delay == 33 && event.Resolution == 25));
  EXPECT_EQ(CountOf(Delays(rig.Timer), 20u), 2);
}

TEST(PlaybackEngine, AnEventArmedBeforeAStopOrANextIsDropped) {
  ClockRig rig;
  rig.AddSegment(10, 10);
  rig.AddSegment(10, 10);
  rig.Engine->Play();
  rig.FireTimer();
  rig.FireTimer();
  // Stop handled while the clock's next event waits in the queue: nothing more is drawn or armed.
  rig.Engine->Stop();
  size_t ops = rig.Frames.Ops.size();
  const size_t arms = rig.Timer.Armed.size();
  rig.FireTimer();
  EXPECT_EQ(std::tuple(rig.Engine->State(), rig.Frames.Ops.size(), rig.Timer.Armed.size(), rig.Timer.Pending.size()),
            std::tuple(psStopped, ops, arms, size_t(0)));

  // Next handled before the old chain's event: the new segment's first event runs, and
  // the old one neither arms nor touches either segment's records.
  rig.Engine->Play();
  rig.FireTimer();
  rig.Engine->Next();
  ops = rig.Frames.Ops.size();
  rig.FireTimer();
  rig.FireTimer();
  EXPECT_EQ(rig.Frames.Calls(ops), "Restore Unpack 0 Apply 0 Sample Save Draw Commit Whole Load 1");
  EXPECT_EQ(rig.Timer.Pending.size(), 1u);  // one live chain
  EXPECT_EQ(rig.Frames.ForeignAccesses, 0);

  // A Stop given while the sound opens (in a message box's loop) stands.
  rig.AddSegment(10, 10, 0, true, "a.mp3");
  rig.Sound.DuringNextOpen = [&rig] { rig.Engine->Stop(); };
  EXPECT_FALSE(rig.Engine->StartSegment(2));
  EXPECT_EQ(std::tuple(rig.Engine->State(), rig.Engine->ClockRunning()), std::tuple(psStopped, false));
}

TEST(PlaybackEngine, SoundAheadShortensDelaysAndThinsOutWholeFramesWhileItPlays) {
  ClockRig rig;
  rig.AddSegment(25, 10, 0, true, "a.mp3");
  rig.Engine->Play();
  // 60 ms ahead of the picture: every delay is cut by the limit of 33 ms; at tick 0 no
  // frame has been passed yet, so nothing is read then.
  rig.Sound.PositionValue = [&rig] { return uint32_t(rig.Engine->CurrentFrame() * 100 + 60); };
  for (int i = 0; i < 5; ++i) rig.FireTimer();
  EXPECT_EQ(Delays(rig.Timer), (std::vector<uint32_t>{20, 100, 67, 67, 67, 67}));
  // More than a frame ahead: only every tenth frame reaches the window.
  rig.Sound.PositionValue = [&rig] { return uint32_t(rig.Engine->CurrentFrame() * 100 + 250); };
  rig.Run();
  std::vector<int32_t> shown;
  for (const Shown& s : rig.Frames.WholeFrames) shown.push_back(s.Frame);
  EXPECT_EQ(shown, (std::vector<int32_t>{0, 1, 2, 3, 4, 10, 20}));

  // Paused while thinned out, the window gets the frame the engine holds, the one frame
  // steps, seeks and a saved picture go on from.
  ClockRig paused;
  paused.AddSegment(25, 10, 0, true, "a.mp3");
  paused.Engine->Play();
  paused.Sound.PositionValue = [&paused] { return uint32_t(paused.Engine->CurrentFrame() * 100 + 250); };
  for (int i = 0; i < 8; ++i) paused.FireTimer();
  ASSERT_NE(paused.Frames.WholeFrames.back().Frame, paused.Engine->ShownFrame());
  paused.Engine->Pause();
  EXPECT_EQ(paused.Frames.WholeFrames.back().Frame, paused.Engine->ShownFrame());

  // A device that failed to open keeps its file name but is not asked for a position.
  ClockRig silent;
  silent.AddSegment(6, 10, 0, true, "a.mp3");
  silent.Sound.FailOpen = true;
  silent.Sound.PositionValue = [] { return 100000u; };
  silent.Engine->Play();
  silent.Run();
  EXPECT_EQ(CountOf(silent.Sound.Calls, "Position"), 0);
  EXPECT_EQ(Delays(silent.Timer), (std::vector<uint32_t>{20, 100, 100, 100, 100, 100, 100}));
}
