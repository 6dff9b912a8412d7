#include "controls/progress_model.h"

#include <gtest/gtest.h>

#include <utility>

namespace {
constexpr int32_t kBarWidth = 200;  // the panel's bar

TProgressModel Bar(std::initializer_list<float> lengths) {
  TProgressModel bar;
  for (const float length : lengths) bar.AddSegment(length);
  return bar;
}
}  // namespace

TEST(ProgressModel, SecondsToPixelsAndTheMarks) {
  const TProgressModel bar = Bar({10, 45});
  const std::pair<double, int32_t> cases[] = {{0, 2}, {10, 38}, {27.5, 100}, {55, 198}, {5, 20}};
  for (const auto& [seconds, pixel] : cases) EXPECT_EQ(bar.ValueToPixel(seconds, kBarWidth), pixel) << seconds;
  EXPECT_EQ(bar.MarkPixels(kBarWidth), std::vector<int32_t>{38});
  EXPECT_EQ(Bar({10, 10, 35}).MarkPixels(kBarWidth), (std::vector<int32_t>{38, 73}));
  EXPECT_TRUE(Bar({10}).MarkPixels(kBarWidth).empty());
  EXPECT_EQ(Bar({}).ValueToPixel(3, kBarWidth), 0);
  EXPECT_EQ(Bar({10, 45}).SegmentStart(1), 10.0f);
}

TEST(ProgressModel, AClickSelectsBySecondsRoundedToWhole) {
  const TProgressModel bar = Bar({10, 45});
  // x -> segment; x = 36 and 37 lie left of the mark at 38 but round to t = 10.
  const std::pair<int32_t, int32_t> cases[] = {
      {0, 0},    // t negative: the first segment
      {35, 0},   // t = round(9.26) = 9
      {36, 1},   // t = round(9.54) = 10
      {37, 1},   // t = round(9.82) = 10
      {150, 1},  // t = round(41.5) = 42
      {196, 1},  // t = round(54.4) = 54
      {197, -1}, // t = round(54.7) = 55: at the end
      {300, -1},
  };
  for (const auto& [x, segment] : cases) EXPECT_EQ(bar.SegmentAtPixel(x, kBarWidth), segment) << x;
  EXPECT_EQ(Bar({}).SegmentAtPixel(50, kBarWidth), -1);
  EXPECT_EQ(bar.SegmentAtPixel(3, 4), -1);  // no drawing area
}

TEST(ProgressModel, ThePositionIsClampedToTheCurrentTotal) {
  TProgressModel bar = Bar({10, 45});
  bar.SetPosition(80);
  EXPECT_EQ(bar.Position(), 55.0f);
  bar.SetPosition(-3);
  EXPECT_EQ(bar.Position(), 0.0f);
  bar.SetPosition(12.5f);
  bar.ClearSegments();
  EXPECT_EQ(bar.Position(), 12.5f);  // clearing keeps it
  bar.SetPosition(5);
  EXPECT_EQ(bar.Position(), 0.0f);
  EXPECT_EQ(bar.AddSegment(3), 0);
  EXPECT_EQ(bar.AddSegment(4), 1);
}

// Dragging: the exact time under the mouse, clamped to the film, and the segment (with
// the time into it) that part of the bar stands for.
TEST(ProgressModel, ADragReadsTheTimeUnderTheMouseAndItsSegment) {
  const TProgressModel bar = Bar({10, 45});
  const std::pair<int32_t, double> times[] = {{2, 0}, {100, 27.5}, {198, 55}, {-40, 0}, {400, 55}};
  for (const auto& [x, seconds] : times) EXPECT_DOUBLE_EQ(bar.TimeAtPixel(x, kBarWidth), seconds) << x;
  EXPECT_EQ(bar.TimeAtPixel(50, 4), 0) << "no drawing area";
  struct Case {
    double Seconds;
    int32_t Segment;
    double Into;
  };
  for (const Case c : {Case{0, 0, 0}, Case{9.5, 0, 9.5}, Case{10, 1, 0}, Case{27.5, 1, 17.5}, Case{55, 1, 45},
                       Case{70, 1, 60}}) {
    const TProgressModel::TSegmentTime at = bar.SegmentAtTime(c.Seconds);
    EXPECT_EQ(at.Segment, c.Segment) << c.Seconds;
    EXPECT_DOUBLE_EQ(at.Seconds, c.Into) << c.Seconds;
  }
  EXPECT_EQ(Bar({}).SegmentAtTime(3).Segment, -1);
}

// At 200 % the bar is 400 wide with a margin of 4: the same seconds land on twice the
// pixels, and clicks and drags read them back.
TEST(ProgressModel, AScaledMarginKeepsTheBarsProportions) {
  TProgressModel bar = Bar({10, 45});
  bar.SetMargin(4);
  EXPECT_EQ(bar.ValueToPixel(0, 400), 4);
  EXPECT_EQ(bar.MarkPixels(400), std::vector<int32_t>{75});  // 4 + round(392 x 10 / 55) = 4 + 71
  EXPECT_EQ(bar.ValueToPixel(55, 400), 396);
  EXPECT_EQ(bar.SegmentAtPixel(72, 400), 1) << "round(55 x 68 / 392) = 10: the second segment";
  EXPECT_EQ(bar.SegmentAtPixel(70, 400), 0);
  EXPECT_DOUBLE_EQ(bar.TimeAtPixel(396, 400), 55);
  EXPECT_EQ(bar.SegmentAtPixel(5, 8), -1) << "no drawing area";
}
