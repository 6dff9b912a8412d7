#include "controls/slider_keys.h"

#include <gtest/gtest.h>

TEST(SliderKeys, StepsMoveTheValueAndStopAtTheEnds) {
  using S = TSliderStep;
  struct Case {
    S step;
    int32_t from, expected;
  } const cases[] = {
      {S::kLineBack, 50, 45},  {S::kLineForward, 50, 55}, {S::kPageBack, 50, 30}, {S::kPageForward, 50, 70},
      {S::kToStart, 50, 0},    {S::kToEnd, 50, 100},      {S::kNone, 50, 50},     {S::kLineBack, 3, 0},
      {S::kPageForward, 90, 100}, {S::kLineForward, 100, 100},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SteppedValue(c.step, c.from, 0, 100, 5, 20), c.expected)
        << static_cast<int>(c.step) << " from " << c.from;
  // The speed scale: one position a line and a page.
  EXPECT_EQ(SteppedValue(S::kPageForward, 7, 0, 8, 1, 1), 8);
  EXPECT_EQ(SteppedValue(S::kPageForward, 8, 0, 8, 1, 1), 8);
  EXPECT_EQ(SteppedValue(S::kLineBack, 1, 0, 8, 1, 1), 0);
  EXPECT_EQ(SteppedValue(S::kToStart, 5, 2, 8, 1, 1), 2);
}

TEST(SliderKeys, TheBarSeeksFiveSecondsAMinuteOrPastTheFilmsEnds) {
  using S = TSliderStep;
  EXPECT_EQ(BarStepSeconds(S::kLineBack, 600), -5);
  EXPECT_EQ(BarStepSeconds(S::kLineForward, 600), 5);
  EXPECT_EQ(BarStepSeconds(S::kPageBack, 600), -60);
  EXPECT_EQ(BarStepSeconds(S::kPageForward, 600), 60);
  EXPECT_EQ(BarStepSeconds(S::kNone, 600), 0);
  // From the very end Home reaches the start, and from the start End reaches the end.
  for (const double total : {0.0, 1.5, 600.0, 36000.0}) {
    EXPECT_LT(BarStepSeconds(S::kToStart, total), -total) << total;
    EXPECT_GT(BarStepSeconds(S::kToEnd, total), total) << total;
  }
}
