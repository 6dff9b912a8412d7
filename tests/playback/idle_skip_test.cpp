// When playback jumps over an idle stretch and where it lands: only while playing, only
// for stretches as long as the skip length, once per stretch, and a stretch that runs
// to the segment's end as well as one in the middle.
#include "playback/idle_skip.h"

#include <gtest/gtest.h>

namespace {
// Segment 1 (from 0) is 20 s long: idle 2..8 s (6 s), 10..12.5 s (2.5 s) and 15..20 s
// (to its end).
const std::vector<TIdleStretch> kStretches{{1, 2.0, 8.0}, {1, 10.0, 12.5}, {1, 15.0, 20.0}};

struct Case {
  const char* name;
  int32_t segment;
  double seconds;
  bool playing;
  int32_t skipSeconds;
  std::optional<double> landing;  // none: no jump
};

TEST(IdleSkip, JumpsOnlyWhenPlayingIntoALongEnoughStretch) {
  const Case cases[] = {
      {"before the first stretch", 1, 1.9, true, 3, std::nullopt},
      {"at its start", 1, 2.0, true, 3, 7.5},
      {"in its middle", 1, 5.0, true, 3, 7.5},
      {"at the landing point", 1, 7.5, true, 3, std::nullopt},
      {"in its last half second", 1, 7.9, true, 3, std::nullopt},
      {"at its end", 1, 8.0, true, 3, std::nullopt},
      {"paused in it", 1, 2.0, false, 3, std::nullopt},
      {"skipping off", 1, 2.0, true, 0, std::nullopt},
      {"a stretch shorter than the skip length", 1, 10.0, true, 3, std::nullopt},
      {"the same stretch with a shorter skip length", 1, 10.0, true, 2, 12.0},
      {"a skip length just the stretch's", 1, 2.0, true, 6, 7.5},
      {"a skip length longer than the stretch", 1, 2.0, true, 7, std::nullopt},
      {"the stretch at the segment's end", 1, 15.2, true, 3, 19.5},
      {"another segment at the same time", 0, 5.0, true, 3, std::nullopt},
      {"the longest skip length", 1, 5.0, true, kLongestIdleSkipSeconds, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TIdleSkipper skipper;
    const auto jump = skipper.Due(c.segment, c.seconds, c.playing, kStretches, c.skipSeconds);
    ASSERT_EQ(jump.has_value(), c.landing.has_value());
    if (!jump) continue;
    EXPECT_EQ(jump->Segment, c.segment);
    EXPECT_DOUBLE_EQ(jump->Seconds, *c.landing);
    EXPECT_DOUBLE_EQ(jump->Skipped, *c.landing - c.seconds);
  }
}

// The frame a jump lands on may start a little before the landing point: the ticks that
// follow, still inside the stretch, jump no more.
TEST(IdleSkip, AStretchIsSkippedOnceWhileThePositionStaysInIt) {
  TIdleSkipper skipper;
  ASSERT_TRUE(skipper.Due(1, 2.1, true, kStretches, 3));
  for (const double landed : {7.45, 7.46, 7.6, 7.9}) EXPECT_FALSE(skipper.Due(1, landed, true, kStretches, 3)) << landed;
  // On to the next long stretch: that one is skipped.
  const auto next = skipper.Due(1, 15.0, true, kStretches, 3);
  ASSERT_TRUE(next);
  EXPECT_DOUBLE_EQ(next->Seconds, 19.5);
}

// Left and come back (a seek back before it): the stretch is skipped again; paused
// ticks in between change nothing.
TEST(IdleSkip, AStretchLeftAndReachedAgainIsSkippedAgain) {
  TIdleSkipper skipper;
  ASSERT_TRUE(skipper.Due(1, 2.0, true, kStretches, 3));
  EXPECT_FALSE(skipper.Due(1, 7.4, false, kStretches, 3));
  EXPECT_FALSE(skipper.Due(1, 7.4, true, kStretches, 3));
  EXPECT_FALSE(skipper.Due(1, 1.0, true, kStretches, 3));
  EXPECT_TRUE(skipper.Due(1, 2.5, true, kStretches, 3));
}

// The same times in another segment are another stretch.
TEST(IdleSkip, StretchesOfOtherSegmentsAreTheirOwn) {
  const std::vector<TIdleStretch> both{{0, 2.0, 8.0}, {1, 2.0, 8.0}};
  TIdleSkipper skipper;
  ASSERT_TRUE(skipper.Due(0, 2.0, true, both, 3));
  const auto second = skipper.Due(1, 2.0, true, both, 3);
  ASSERT_TRUE(second);
  EXPECT_EQ(second->Segment, 1);
}
}  // namespace
