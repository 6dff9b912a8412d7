// The activity strip's arithmetic: which pixels of the bar its
// bands take (merged, cut at the segment's end, hatched over idle stretches, nothing for
// segments not computed), its rows at each scale and its colours in both palettes.
#include "controls/activity_strip.h"

#include <gtest/gtest.h>

#include <limits>

namespace {
constexpr int32_t kBarWidth = 200;  // 2 + 196 x t / total
constexpr float kFloor = -45.0f;
constexpr float kNoSound = -std::numeric_limits<float>::infinity();

TProgressModel Bar(std::initializer_list<float> lengths) {
  TProgressModel bar;
  for (const float length : lengths) bar.AddSegment(length);
  return bar;
}

TActivitySlice Slice(int64_t pixels, double travel, int32_t shapes, float db) {
  TActivitySlice slice;
  slice.ChangedPixels = pixels;
  slice.PointerTravel = travel;
  slice.ShapeChanges = shapes;
  slice.SoundDb = db;
  return slice;
}
}  // namespace

TEST(ActivityStrip, BandsFollowTheBarsSecondsAndThoseNarrowerThanAPixelAreDropped) {
  const TProgressModel bar = Bar({10, 40});  // pixel(t) = 2 + 3.92 t
  TStripSegment first;
  first.Known = true;
  first.Slices = {{0, 1, 0.0f}, {1, 2, 0.1f}, {2, 3, 1.0f}, {3, 10, 0.5f}};
  first.Idle = {{0, 3, 10}};
  TStripSegment second;  // not computed yet
  second.Slices = {{0, 40, 1.0f}};
  const std::vector<TStripBand> expected{{2, 10, 0, false}, {10, 14, 3, false}, {14, 41, 2, false}, {14, 41, 0, true}};
  EXPECT_EQ(StripBands(bar, kBarWidth, {first, second}), expected);
  // Fewer entries than segments: the rest shows nothing.
  EXPECT_EQ(StripBands(bar, kBarWidth, {first}), expected);
  EXPECT_TRUE(StripBands(bar, kBarWidth, {}).empty());

  // Computed, the second segment's slice is cut at its end (the bar's right edge).
  second.Known = true;
  second.Slices = {{0, 45, 0.3f}};
  second.Idle = {{1, 38, 60}};
  const std::vector<TStripBand> both{{2, 10, 0, false}, {10, 14, 3, false}, {14, 41, 2, false}, {41, 198, 1, false},
                                     {14, 41, 0, true},  {190, 198, 0, true}};
  EXPECT_EQ(StripBands(bar, kBarWidth, {first, second}), both);

  // Bands narrower than a pixel are dropped.
  TStripSegment thin;
  thin.Known = true;
  thin.Slices = {{0, 0.01, 1.0f}, {0.01, 100, 0.0f}};
  thin.Idle = {{0, 50, 50.01}};
  EXPECT_EQ(StripBands(Bar({100}), kBarWidth, {thin}), (std::vector<TStripBand>{{2, 198, 0, false}}));
}

TEST(ActivityStrip, AComputedSegmentKeepsItsStretchesAndLevels) {
  TSegmentActivity activity;
  activity.Slices = {Slice(0, 0, 0, kNoSound), Slice(100, 0, 0, kNoSound)};
  activity.Slices[0].To = 1;
  activity.Slices[1].From = 1;
  activity.Slices[1].To = 1.5;
  activity.Idle = {{0, 0, 1}};
  const TStripSegment strip = StripSegment(activity, 100, kFloor);
  EXPECT_TRUE(strip.Known);
  ASSERT_EQ(strip.Slices.size(), 2u);
  EXPECT_EQ(strip.Slices[0].Level, 0.0f);
  EXPECT_EQ(strip.Slices[1].Level, 1.0f);
  EXPECT_EQ(strip.Slices[1].To, 1.5);
  ASSERT_EQ(strip.Idle.size(), 1u);
  EXPECT_EQ(strip.Idle[0].To, 1.0);
}

TEST(ActivityStrip, RowsAlongTheBottomOfTheDrawingAreaAtEachScale) {
  const struct {
    int32_t dpi, height, margin, top, bottom;
  } cases[] = {{96, 10, 2, 5, 8}, {192, 20, 4, 10, 16}, {144, 15, 3, 7, 12}, {96, 5, 2, 2, 3}};
  for (const auto& c : cases) {
    const TStripRows rows = StripRows(c.height, c.margin, TScreenScale(c.dpi));
    EXPECT_EQ(rows.Top, c.top) << c.dpi << " " << c.height;
    EXPECT_EQ(rows.Bottom, c.bottom) << c.dpi << " " << c.height;
  }
}

TEST(ActivityStrip, ShadesDarkenTowardsTheLinesAndHighContrastUsesItsOwnColours) {
  const TControlPalette design;
  EXPECT_EQ(StripShadeColour(design, 0), 0xCCCCCCu);
  EXPECT_EQ(StripShadeColour(design, kStripShades - 1), 0x333333u);
  for (int32_t shade = 1; shade < kStripShades; ++shade)
    EXPECT_LT(*StripShadeColour(design, shade) & 0xFF, *StripShadeColour(design, shade - 1) & 0xFF) << shade;
  TControlPalette contrast;
  contrast.HighContrast = true;
  contrast.Background = 0x000000;
  contrast.Lines = 0x00FFFF;
  EXPECT_FALSE(StripShadeColour(contrast, 0));
  EXPECT_FALSE(StripShadeColour(contrast, 1));
  EXPECT_EQ(StripShadeColour(contrast, 2), 0x00FFFFu);
  EXPECT_EQ(StripShadeColour(contrast, 3), 0x00FFFFu);
}
