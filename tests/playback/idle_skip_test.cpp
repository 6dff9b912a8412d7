// Where playback that reaches an idle stretch goes on, frame by frame.
#include "playback/idle_skip.h"

#include <gtest/gtest.h>

TEST(IdleSkip, PlaybackPastAStretchsFirstFrameGoesOnHalfASecondBeforeItsEnd) {
  // 10 fps: the last change at 0.9 s (frame 9), the next at 5.0 s; and one from 8.0 s to 12.25 s.
  const std::vector<TIdleStretch> idle = {{0, 0.9, 5.0}, {0, 8.0, 12.25}};
  const struct {
    int32_t previous, frame;
    int32_t to;  // -1: no jump
    double skipped;
  } cases[] = {
      {8, 9, -1, 0},      // the frame of the last change is shown
      {9, 10, 45, 3.5},   // the first idle frame: on to 4.5 s
      {8, 10, 45, 3.5},   // a tick that stepped two frames
      {10, 11, -1, 0},    // started inside (a seek there): played
      {20, 44, -1, 0},    // from inside, all the way
      {9, 45, -1, 0},     // already where it would go
      {80, 81, 118, 3.7}, // 12.25 s less 0.5: the first frame at or after 11.75 s
      {81, 80, -1, 0},    // going back never skips
  };
  for (const auto& c : cases) {
    const auto jump = IdleJumpAt(idle, 10, c.previous, c.frame);
    ASSERT_EQ(jump.has_value(), c.to >= 0) << c.previous << " -> " << c.frame;
    if (!jump) continue;
    EXPECT_EQ(jump->Frame, c.to) << c.frame;
    EXPECT_NEAR(jump->SkippedSeconds, c.skipped, 1e-9) << c.frame;
  }
  EXPECT_FALSE(IdleJumpAt(idle, 0, 9, 10)) << "a segment without a rate does not play";
  // A stretch from the segment's start is reached from its first frame; one of half a
  // second or less has nothing to skip; times a hair off a frame stay on it.
  EXPECT_EQ(IdleJumpAt({{0, 0, 3.0}}, 10, 0, 1)->Frame, 25);
  EXPECT_FALSE(IdleJumpAt({{0, 1.0, 1.5}}, 10, 10, 11));
  EXPECT_EQ(IdleJumpAt({{0, 0.3 * 3, 0.1 * 70}}, 10, 9, 10)->Frame, 65);
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
