// Where playback that reaches an idle stretch goes on, frame by frame.
#include "playback/idle_skip.h"

#include <gtest/gtest.h>

TEST(IdleSkip, PlaybackThatStepsOntoAStretchsFirstFrameGoesOnHalfASecondBeforeItsEnd) {
  // 10 fps: the last change at 0.9 s (frame 9), the next at 5.0 s; and one from 8.0 s to 12.25 s.
  const std::vector<TIdleStretch> idle = {{0, 0.9, 5.0}, {0, 8.0, 12.25}};
  const struct {
    int32_t previous, frame;
    int32_t to;  // -1: no jump
    double skipped;
  } cases[] = {
      {7, 8, -1, 0},      // before the stretch
      {8, 9, 45, 3.6},    // onto the frame of the last change: on to 4.5 s, the same picture
      {7, 10, 45, 3.5},   // a tick that stepped past it
      {9, 10, -1, 0},     // a seek, a pause or a search hit landed on the first frame: played
      {10, 11, -1, 0},    // started inside (a seek there): played
      {20, 44, -1, 0},    // from inside, all the way
      {8, 45, -1, 0},     // already where it would go
      {79, 80, 118, 3.8}, // 12.25 s less 0.5: the first frame at or after 11.75 s
      {81, 80, -1, 0},    // going back never skips
  };
  for (const auto& c : cases) {
    const auto jump = IdleJumpAt(idle, 10, c.previous, c.frame);
    ASSERT_EQ(jump.has_value(), c.to >= 0) << c.previous << " -> " << c.frame;
    if (!jump) continue;
    EXPECT_EQ(jump->Frame, c.to) << c.frame;
    EXPECT_NEAR(jump->SkippedSeconds, c.skipped, 1e-9) << c.frame;
  }
  EXPECT_FALSE(IdleJumpAt(idle, 0, 8, 9)) << "a segment without a rate does not play";
  // A stretch from the segment's start is one its start lands on: the first tick plays
  // it, as does the one that shows the first frame. One of half a second or less has
  // nothing to skip; times a hair off a frame stay on it.
  EXPECT_FALSE(IdleJumpAt({{0, 0, 6.0}}, 10, 0, 1));
  EXPECT_FALSE(IdleJumpAt({{0, 0, 6.0}}, 10, -1, 0));
  EXPECT_FALSE(IdleJumpAt({{0, 1.0, 1.5}}, 10, 9, 10));
  EXPECT_EQ(IdleJumpAt({{0, 0.7 * 3, 0.1 * 61}}, 10, 20, 21).value_or(TIdleJump{}).Frame, 56);
}

TEST(IdleSkip, OnlyStretchesAsLongAsTheSkipLengthAreSkipped) {
  const std::vector<TIdleStretch> idle = {{0, 2.0, 8.0}, {0, 10.0, 12.5}, {0, 15.0, 15.0 + 0.1 * 30}};
  const auto froms = [&](int32_t seconds) {
    std::vector<double> kept;
    for (const TIdleStretch& stretch : StretchesAtLeast(idle, seconds)) kept.push_back(stretch.From);
    return kept;
  };
  EXPECT_EQ(froms(2), (std::vector<double>{2.0, 10.0, 15.0}));
  EXPECT_EQ(froms(3), (std::vector<double>{2.0, 15.0})) << "a stretch of 3 s as summed from tenths is 3 s long";
  EXPECT_EQ(froms(6), (std::vector<double>{2.0}));
  EXPECT_TRUE(froms(7).empty());
}
