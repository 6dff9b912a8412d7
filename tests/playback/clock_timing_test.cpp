#include <gtest/gtest.h>

#include "film/round_half_even.h"
#include "playback/clock_timing.h"

TEST(ClockTiming, RoundsHalvesToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(16.5), 16);
  EXPECT_EQ(RoundHalfEven(17.5), 18);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(-3.5), -4);
  EXPECT_EQ(RoundHalfEven(33.333), 33);
  EXPECT_EQ(RoundHalfEven(16.6), 17);
  EXPECT_EQ(RoundHalfEven(-0.4), 0);
}

TEST(ClockTiming, PeriodFollowsRateSamplesAndSpeed) {
  // Ten frames a second with three cursor samples per frame.
  EXPECT_EQ(ComputePeriod(10, 3, 3), 33);
  EXPECT_EQ(ComputePeriod(10, 3, 0), 330);
  EXPECT_EQ(ComputePeriod(10, 3, 4), 16);  // 16.5 goes to the even 16
  EXPECT_EQ(ComputePeriod(10, 3, 8), 1);
  EXPECT_EQ(ComputePeriod(25, 1, 3), 40);
  EXPECT_EQ(ComputePeriod(25, 1, 1), 160);
  EXPECT_EQ(ComputePeriod(1, 1, 0), 10000);
  EXPECT_EQ(ComputePeriod(255, 3, 7), 1);  // never below one millisecond
  // No rate: 100 ms whatever the speed.
  for (int32_t position = 0; position < kSpeedPositionCount; ++position)
    EXPECT_EQ(ComputePeriod(0, 3, position), 100) << position;
  // Positions off the slider are taken as its ends, not read outside the table.
  EXPECT_EQ(ComputePeriod(10, 1, -5), ComputePeriod(10, 1, 0));
  EXPECT_EQ(ComputePeriod(10, 1, 99), ComputePeriod(10, 1, 8));
}

TEST(ClockTiming, SoundAheadShortensTheDelayByAtMostAThirdOfTheSubPeriod) {
  // F = 10, S = 1: a frame lasts 100 ms; frame 5 is due at 500 ms.
  TDelayCorrection c = CorrectDelay(100, 10, 1, 520, 5);
  EXPECT_EQ(c.Cut, 20);
  EXPECT_EQ(c.Delay, 80);
  EXPECT_FALSE(c.Lag);
  c = CorrectDelay(100, 10, 1, 560, 5);
  EXPECT_EQ(c.Cut, 33);  // 100 div 3
  EXPECT_FALSE(c.Lag);
  c = CorrectDelay(100, 10, 1, 601, 5);
  EXPECT_TRUE(c.Lag);  // more than one frame ahead
  EXPECT_EQ(c.Delay, 67);
  // Sound behind the picture never lengthens the delay.
  c = CorrectDelay(100, 10, 1, 300, 5);
  EXPECT_EQ(c.Cut, 0);
  EXPECT_EQ(c.Delay, 100);
  // S = 3: sub-period 33 ms, cut Round(drift / 3) up to 11.
  EXPECT_EQ(CorrectDelay(33, 10, 3, 530, 5).Delay, 23);
  EXPECT_EQ(CorrectDelay(33, 10, 3, 545, 5).Delay, 22);
  // The delay stays at least 1; without a rate nothing is corrected.
  EXPECT_EQ(CorrectDelay(2, 10, 1, 590, 5).Delay, 1);
  c = CorrectDelay(100, 0, 1, 5000, 5);
  EXPECT_EQ(c.Delay, 100);
  EXPECT_FALSE(c.Lag);
}
