#include <algorithm>

#include <gtest/gtest.h>

#include "film/ko_error.h"
#include "support/clock_fakes.h"

namespace {

// Operations the fake picture source saw after the given count, without the tick prefix.
std::vector<std::string> OpsSince(const FakeFrames& frames, size_t from) {
  std::vector<std::string> ops;
  for (size_t i = from; i < frames.Ops.size(); ++i) ops.push_back(frames.Ops[i].substr(frames.Ops[i].find(':') + 1));
  return ops;
}

}  // namespace

TEST(ClockTick, ThreeSamplesPerFrameShowFrameKAtTick3K) {
  ClockRig rig;
  rig.AddSegment(268, 10, 1);
  rig.AddSegment(5, 10, 1);
  rig.Engine->Play();
  EXPECT_EQ(rig.Engine->Period(), 33);
  rig.Run();

  std::vector<Shown> first;
  for (const Shown& shown : rig.Frames.WholeFrames)
    if (shown.Segment == 0) first.push_back(shown);
  ASSERT_EQ(first.size(), 268u);
  for (size_t k = 0; k < first.size(); ++k) {
    EXPECT_EQ(first[k].Frame, static_cast<int32_t>(k));
    EXPECT_EQ(first[k].Tick, static_cast<int32_t>(3 * k));
  }
  EXPECT_EQ(first.back().Tick, 801);
  ASSERT_EQ(rig.Shell.NextPostedAtTick.size(), 2u);
  EXPECT_EQ(rig.Shell.NextPostedAtTick[0], 802);
  // The pointer moves at every tick, its area alone is shown between frames.
  EXPECT_EQ(std::count(rig.Frames.CursorAreaTicks.begin(), rig.Frames.CursorAreaTicks.end(), 1), 2);
  EXPECT_TRUE(std::none_of(rig.Frames.CursorAreaTicks.begin(), rig.Frames.CursorAreaTicks.end(),
                           [](int32_t tick) { return tick % 3 == 0; }));
  EXPECT_EQ(std::count(rig.Frames.SampleTicks.begin(), rig.Frames.SampleTicks.end(), 802), 1);
  // Every event after a chain's first is armed at the period, at 25 ms resolution.
  int32_t starts = 0;
  for (const ArmedEvent& event : rig.Timer.Armed) {
    if (event.Delay == 20 && event.Resolution == 5) ++starts;
    else EXPECT_TRUE(event.Delay == 33 && event.Resolution == 25);
  }
  EXPECT_EQ(starts, 2);
  // The second segment starts from its own first frame; the first chain's last event
  // arrives after that start and is dropped.
  EXPECT_EQ(rig.Frames.WholeFrames[268].Segment, 1);
  EXPECT_EQ(rig.Frames.WholeFrames[268].Frame, 0);
  EXPECT_EQ(rig.Frames.WholeFrames[268].Tick, 0);
  EXPECT_EQ(rig.Frames.ForeignAccesses, 0);
}

TEST(ClockTick, OneSamplePerFrameShowsAFrameEveryTickAndPostsNextWithTheLast) {
  ClockRig rig;
  rig.AddSegment(5, 25);
  rig.Engine->Play();
  EXPECT_EQ(rig.Engine->Period(), 40);
  rig.Run();
  ASSERT_EQ(rig.Frames.WholeFrames.size(), 5u);
  for (int32_t k = 0; k < 5; ++k) {
    EXPECT_EQ(rig.Frames.WholeFrames[k].Tick, k);
    EXPECT_EQ(rig.Frames.WholeFrames[k].Frame, k);
  }
  EXPECT_EQ(rig.Shell.NextPostedAtTick, (std::vector<int32_t>{4}));
  EXPECT_TRUE(rig.Frames.CursorAreaTicks.empty());
  // Each tick: pointer out, frame expanded and laid on, pointer in, picture shown.
  const auto tick1 = std::find(rig.Frames.Ops.begin(), rig.Frames.Ops.end(), "1:Restore");
  ASSERT_NE(tick1, rig.Frames.Ops.end());
  EXPECT_EQ(std::vector<std::string>(tick1, tick1 + 9),
            (std::vector<std::string>{"1:Restore", "1:Unpack 1", "1:Apply 1", "1:Sample", "1:Save", "1:Draw",
                                      "1:Commit", "1:Whole", "1:Load 2"}));
}

TEST(ClockTick, CommandsRunByTheTicksOwnPumpEndThatTick) {
  ClockRig rig;
  rig.AddSegment(10, 10);
  rig.AddSegment(10, 10);
  rig.Engine->Play();
  rig.FireTimer();
  rig.FireTimer();

  // Stop arrives in the middle of a tick: nothing more is drawn or armed.
  rig.Shell.DuringNextPump = [&rig] { rig.Engine->Stop(); };
  size_t ops = rig.Frames.Ops.size();
  const size_t arms = rig.Timer.Armed.size();
  rig.FireTimer();
  EXPECT_EQ(rig.Engine->State(), psStopped);
  EXPECT_EQ(rig.Timer.Armed.size(), arms);
  EXPECT_TRUE(OpsSince(rig.Frames, ops).empty());
  EXPECT_TRUE(rig.Timer.Pending.empty());

  // Next arrives mid-tick, and the new segment's first event is handled by the same
  // pump: the old tick then neither arms nor touches either segment's records.
  rig.Engine->Play();
  rig.FireTimer();
  rig.Shell.DuringNextPump = [&rig] {
    rig.Engine->Next();
    rig.FireTimer();
  };
  ops = rig.Frames.Ops.size();
  rig.FireTimer();
  EXPECT_EQ(rig.Engine->CurrentSegment(), 1);
  const std::vector<std::string> seen = OpsSince(rig.Frames, ops);
  // The start of segment 1, then exactly one tick (the nested one).
  EXPECT_EQ(std::count(seen.begin(), seen.end(), "Prepare 1"), 1);
  EXPECT_EQ(std::count(seen.begin(), seen.end(), "Whole"), 1);
  EXPECT_EQ(std::count(seen.begin(), seen.end(), "Sample"), 1);
  ASSERT_EQ(rig.Timer.Pending.size(), 1u);  // one live chain
  EXPECT_EQ(rig.Frames.ForeignAccesses, 0);
  rig.Run();
  EXPECT_EQ(rig.Frames.WholeFrames.back().Segment, 1);
  EXPECT_EQ(rig.Frames.WholeFrames.back().Frame, 9);
}

TEST(ClockTick, SoundAheadShortensDelaysAndThinsOutWholeFrames) {
  ClockRig rig;
  rig.AddSegment(25, 10, 0, true, "a.mp3");
  rig.Engine->Play();
  // Sound 60 ms ahead of the picture: every delay is cut by the limit of 33 ms.
  rig.Sound.PositionValue = [&rig] { return static_cast<uint32_t>(rig.Engine->CurrentFrame() * 100 + 60); };
  for (int i = 0; i < 5; ++i) rig.FireTimer();
  std::vector<uint32_t> delays;
  for (size_t i = 1; i < rig.Timer.Armed.size(); ++i) delays.push_back(rig.Timer.Armed[i].Delay);
  // At tick 0 no frame has been passed yet, so nothing is read then.
  EXPECT_EQ(delays, (std::vector<uint32_t>{100, 67, 67, 67, 67}));
  EXPECT_EQ(rig.Frames.WholeFrames.size(), 5u);

  // More than a frame ahead: only every tenth frame reaches the window.
  rig.Sound.PositionValue = [&rig] { return static_cast<uint32_t>(rig.Engine->CurrentFrame() * 100 + 250); };
  rig.Run();
  std::vector<int32_t> shown;
  for (const Shown& s : rig.Frames.WholeFrames) shown.push_back(s.Frame);
  EXPECT_EQ(shown, (std::vector<int32_t>{0, 1, 2, 3, 4, 10, 20}));
  EXPECT_EQ(rig.Engine->State(), psStopped);
}

TEST(ClockTick, NoDriftCorrectionWithoutWorkingSound) {
  ClockRig rig;
  rig.AddSegment(6, 10, 0, true, "a.mp3");
  rig.Sound.FailOpen = true;  // the name stays, the device does not open
  rig.Sound.PositionValue = [] { return 100000u; };
  rig.Engine->Play();
  rig.Run();
  EXPECT_EQ(std::count(rig.Sound.Calls.begin(), rig.Sound.Calls.end(), "Position"), 0);
  EXPECT_EQ(rig.Frames.WholeFrames.size(), 6u);
  for (size_t i = 1; i < rig.Timer.Armed.size(); ++i) EXPECT_EQ(rig.Timer.Armed[i].Delay, 100u);
}

TEST(ClockTick, RefusedEventLeavesTheClockSilentUntilRestarted) {
  ClockRig rig;
  rig.AddSegment(10, 10);
  rig.Engine->Play();
  rig.FireTimer();
  rig.Timer.Refuse = true;
  EXPECT_THROW(rig.FireTimer(), EkoError);
  EXPECT_TRUE(rig.Engine->ClockRunning());
  EXPECT_TRUE(rig.Timer.Pending.empty());
  rig.Timer.Refuse = false;
  rig.Engine->Pause();
  rig.Engine->Play();
  rig.Run();
  EXPECT_EQ(rig.Frames.WholeFrames.back().Frame, 9);
}
