#include <gtest/gtest.h>

#include <tuple>

#include "film/round_half_even.h"
#include "playback/clock_timing.h"

TEST(ClockTiming, RoundsHalvesToTheEvenNeighbour) {
  const std::pair<double, int64_t> cases[] = {{16.5, 16}, {17.5, 18}, {-2.5, -2}, {-3.5, -4},
                                              {33.333, 33}, {16.6, 17}, {-0.4, 0}};
  for (const auto& [value, rounded] : cases) EXPECT_EQ(RoundHalfEven(value), rounded) << value;
}

TEST(ClockTiming, PeriodFollowsRateSamplesAndSpeed) {
  // One frame a second, one sample per frame: 1000 ms over each of the nine factors.
  const int32_t bySpeed[kSpeedPositionCount] = {10000, 4000, 2000, 1000, 500, 333, 200, 100, 1};
  for (int32_t position = 0; position < kSpeedPositionCount; ++position)
    EXPECT_EQ(ComputePeriod(1, 1, position), bySpeed[position]) << position;
  struct Case {
    uint8_t fps;
    int32_t samples, position, period;
  };
  const Case cases[] = {
      {15, 1, 3, 67},                    // 66.7 is rounded, not cut
      {10, 3, 3, 33}, {10, 3, 0, 330},   // three cursor samples per frame
      {10, 3, 4, 16},                    // 16.5 goes to the even 16
      {25, 1, 3, 40}, {10, 0, 3, 100},   // fewer than one sample counts as one
      {255, 3, 7, 1},                    // never below one millisecond
      {0, 3, 0, 100}, {0, 1, 8, 100},    // no rate: 100 ms whatever the speed
      {1, 1, -5, 10000}, {1, 1, 99, 1},  // off the slider: its ends
  };
  for (const Case& c : cases)
    EXPECT_EQ(ComputePeriod(c.fps, c.samples, c.position), c.period)
        << int(c.fps) << "/" << c.samples << "/" << c.position;
  EXPECT_EQ(SpeedFactor(-1), 0.1);
  EXPECT_EQ(SpeedFactor(kSpeedPositionCount), 1000);
}

TEST(ClockTiming, SoundAheadShortensTheDelayByAtMostAThirdOfTheSubPeriod) {
  struct Case {
    int32_t period;
    uint8_t fps;
    int32_t samples;
    int64_t soundMs;
    int32_t delay, cut;
    bool lag;
  };
  // Frame 5 each time; at 10 frames a second it is due at 500 ms.
  const Case cases[] = {
      {100, 10, 1, 520, 80, 20, false},
      {100, 10, 1, 560, 67, 33, false},  // cut at 100 div 3
      {100, 10, 1, 600, 67, 33, false},  // exactly one frame ahead is no lag yet
      {100, 10, 1, 601, 67, 33, true},
      {100, 10, 1, 300, 100, 0, false},  // sound behind never lengthens the delay
      {33, 10, 3, 530, 23, 10, false},   // three samples: Round(30 / 3), at most 33 div 3
      {33, 10, 3, 545, 22, 11, false},
      {2, 10, 1, 590, 1, 33, false},     // at least 1 ms
      {100, 0, 1, 5000, 100, 0, false},  // no rate: nothing corrected
  };
  for (const Case& c : cases) {
    const TDelayCorrection result = CorrectDelay(c.period, c.fps, c.samples, c.soundMs, 5);
    EXPECT_EQ((std::tuple{result.Delay, result.Cut, result.Lag}), (std::tuple{c.delay, c.cut, c.lag}))
        << c.period << " " << int(c.fps) << " " << c.samples << " " << c.soundMs;
  }
}
