#include "session/panel_texts.h"

#include <gtest/gtest.h>

#include <utility>

namespace {
constexpr double kDay = 86400;
const TNumberSeparators kDot;
}  // namespace

TEST(PanelTexts, SpeedLabelsFollowTheSlider) {
  const char* const expected[] = {"x0.1", "x0.25", "x0.5", "x1.0", "x2.0", "x3.0", "x5.0", "x10.0", "MAX"};
  for (int32_t position = 0; position < 9; ++position)
    EXPECT_EQ(SpeedLabel(position, "."), expected[position]) << position;
  EXPECT_EQ(SpeedLabel(3, ","), "x1,0");
  EXPECT_EQ(SpeedLabel(1, ","), "x0,25");
}

TEST(PanelTexts, ClockTimesDropTheFractionAfterRoundingToMilliseconds) {
  const std::pair<double, const char*> cases[] = {
      {15, "00:00:15"},        {3661.4, "01:01:01"}, {14.9999, "00:00:15"},  // 14999.9 ms -> 15000
      {59.9, "00:00:59"},      {0, "00:00:00"},      {kDay + 5, "00:00:05"},  // wraps at 24 hours
      {kDay - 0.0001, "00:00:00"},
  };
  for (const auto& [seconds, text] : cases) EXPECT_EQ(FormatClockTime(seconds / kDay, ":"), text) << seconds;
  EXPECT_EQ(FormatClockTime(75 / kDay, "."), "00.01.15");
}

TEST(PanelTexts, TheTimeLineCountsToTheShownFrame) {
  const std::vector<TSegmentTiming> film{{100, 10}, {450, 10}};
  const TTimeLine line = ComputeTimeLine(film, 1, 49, 10, 3, kDot);
  EXPECT_EQ(line.Text, "x1.0    00:00:15 | 00:00:55");
  EXPECT_EQ(line.CurrentSeconds, 15.0f);
  EXPECT_EQ(line.TotalSeconds, 55.0);

  EXPECT_EQ(ComputeTimeLine(film, 1, -1, 10, 8, kDot).Text, "MAX    00:00:10 | 00:00:55");
  EXPECT_EQ(ComputeTimeLine(film, 0, 20, 10, 0, {",", "."}).Text, "x0,1    00.00.02 | 00.00.55");
  EXPECT_EQ(ComputeTimeLine({}, 0, 5, 10, 3, kDot).Text, "x1.0    00:00:00 | 00:00:00");
}

TEST(PanelTexts, SegmentsWithoutARateAreLeftOutAndListed) {
  // After Stop the first segment, without a rate, is current: no failure, no length.
  const std::vector<TSegmentTiming> film{{50, 0}, {100, 10}, {30, 0}, {200, 20}};
  TTimeLine line = ComputeTimeLine(film, 0, -1, 0, 3, kDot);
  EXPECT_EQ(line.Text, "x1.0    00:00:00 | 00:00:20");
  EXPECT_EQ(line.RateZeroSegments, (std::vector<int32_t>{0, 2}));
  line = ComputeTimeLine(film, 3, 99, 20, 3, kDot);
  EXPECT_EQ(line.CurrentSeconds, 15.0f);

  // The bar leaves them out too, and knows which film segment each part stands for.
  const TProgressSegments bar = ProgressSegments(film);
  EXPECT_EQ(bar.Lengths, (std::vector<float>{10, 10}));
  EXPECT_EQ(bar.SegmentIndexes, (std::vector<int32_t>{1, 3}));
}

TEST(PanelTexts, FormatAndVolumeLines) {
  EXPECT_EQ(FormatInfoText(600, 400, 32, 12), "600 x 400 x 32 / 12 fps");
  const std::pair<double, const char*> volumes[] = {{100, "100%"}, {56.7, "57%"}, {2.5, "2%"}, {3.5, "4%"}, {0, "0%"}};
  for (const auto& [percent, text] : volumes) EXPECT_EQ(VolumeLabel(percent), text) << percent;
}
