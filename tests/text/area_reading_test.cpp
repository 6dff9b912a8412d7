// How an area is made ready for the reader and how the reader's words come back: both
// kof and the page rely on these rules to read screen text alike.
#include "text/area_reading.h"

#include <gtest/gtest.h>

namespace {
// A 60 x 30 picture of background with upright strokes of ink, as letters have, in
// (20, 10)-(40, 20).
TkoPicture Stroke(uint8_t background, uint8_t ink) {
  TkoPicture picture(60, 30, 32);
  TkoPictureView view = picture.View();
  for (int32_t y = 0; y < view.Height; ++y)
    for (int32_t x = 0; x < view.Width; ++x) {
      const uint8_t v = x >= 20 && x < 40 && y >= 10 && y < 20 && x % 4 == 0 ? ink : background;
      std::fill_n(view.At(x, y), 3, v);
    }
  return picture;
}

uint8_t GreyAt(const TPreparedArea& area, int32_t x, int32_t y) {
  return area.Grey[size_t((y - area.Box.Top) * area.Box.Width() + (x - area.Box.Left))];
}
}  // namespace

TEST(AreaReading, TextBecomesDarkOnWhiteWhateverItsTheme) {
  struct Case {
    const char* name;
    uint8_t background, ink;
  } cases[] = {{"dark on light", 0xF0, 0x20}, {"light on dark", 0x1E, 0xE0}, {"light on dark grey", 0x5A, 0xF0},
                 {"grey on a mid tone", 0xA0, 0x50}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TkoPicture picture = Stroke(c.background, c.ink);
    const std::optional<TPreparedArea> area = PrepareArea(picture.View(), {18, 8, 42, 22});
    ASSERT_TRUE(area);
    EXPECT_EQ(area->Box, (TTextBox{14, 4, 46, 26}));  // a margin of background around it
    EXPECT_EQ(area->Grey.size(), size_t(area->Box.Area()));
    EXPECT_EQ(GreyAt(*area, 15, 5), 255);  // the background is white
    EXPECT_LT(GreyAt(*area, 32, 15), 128);  // the ink is dark
    EXPECT_EQ(GreyAt(*area, 33, 15), 255);  // and the background between strokes white
  }
}

// A ribbon's highlighted word: light strokes on a dark panel two pixels wider than them,
// on a light page, read with the page around it. Beside the letters the panel has no run
// of its own shade, while their row has runs of the page's; above and below the letters
// the panel has, and that is what they stand on. A letter's foot as long as a run (`Ш`)
// is no background: it is one row thick.
TEST(AreaReading, AWordOnAPanelHardlyWiderThanItTurnsDarkOnWhite) {
  for (const bool foot : {false, true}) {
    SCOPED_TRACE(foot ? "strokes joined by a foot" : "strokes");
    TkoPicture picture(80, 30, 32);
    TkoPictureView view = picture.View();
    for (int32_t y = 0; y < view.Height; ++y)
      for (int32_t x = 0; x < view.Width; ++x) {
        const bool panel = x >= 18 && x < 42 && y >= 8 && y < 22;
        const bool stroke = x >= 20 && x < 40 && y >= 10 && y < 20 && (x % 4 == 0 || (foot && y == 19 && x <= 36));
        std::fill_n(view.At(x, y), 3, stroke ? 0xE0 : panel ? 0x1E : 0xF0);
      }
    const std::optional<TPreparedArea> area = PrepareArea(picture.View(), {0, 0, 80, 30});
    ASSERT_TRUE(area);
    EXPECT_EQ(GreyAt(*area, 15, 5), 255);   // the page
    EXPECT_EQ(GreyAt(*area, 19, 15), 255);  // the panel beside the letters
    EXPECT_EQ(GreyAt(*area, 33, 15), 255);  // and between their strokes
    EXPECT_EQ(GreyAt(*area, 33, 18), 255);  // even just above the foot
    EXPECT_LT(GreyAt(*area, 32, 15), 128);  // the strokes dark
  }
}

TEST(AreaReading, AreasAtTheEdgeAreCutAndOnesTooSmallForALetterAreNotRead) {
  TkoPicture picture = Stroke(0xFF, 0);
  const std::optional<TPreparedArea> corner = PrepareArea(picture.View(), {0, 0, 10, 10});
  ASSERT_TRUE(corner);
  EXPECT_EQ(corner->Box, (TTextBox{0, 0, 14, 14}));
  EXPECT_FALSE(PrepareArea(picture.View(), {0, 29, 60, 30}));  // 5 pixels tall
  // A word read alone: its box inside the area, the area's pixels there; none in a sliver.
  const std::optional<TPreparedArea> strokes = PrepareArea(picture.View(), {20, 10, 40, 20});
  ASSERT_TRUE(strokes);
  const std::optional<TPreparedArea> part = PartAlone(*strokes, {18, 12, 31, 30});
  ASSERT_TRUE(part);
  EXPECT_EQ(part->Box, (TTextBox{18, 12, 31, 24}));
  ASSERT_EQ(part->Grey.size(), 156u);
  for (int32_t y = 12; y < 24; ++y)
    for (int32_t x = 18; x < 31; ++x) EXPECT_EQ(GreyAt(*part, x, y), GreyAt(*strokes, x, y)) << x << ", " << y;
  EXPECT_FALSE(PartAlone(*corner, {13, 0, 20, 10}));  // one column inside
}

TEST(AreaReading, WordBoxesComeBackInThePicturesPixels) {
  const TTextBox prepared{100, 50, 200, 80};
  // Enlarged 3 times inside a 12-pixel border: a word at (42, 27)-(73, 52) of the image
  // lies at (10, 5)-(21, 14) of the area, rounded outwards.
  EXPECT_EQ(BoxInPicture(prepared, 3, 42, 27, 73, 52), (TTextBox{110, 55, 121, 64}));
  // One that the reader placed partly in the border ends at the area's edge.
  EXPECT_EQ(BoxInPicture(prepared, 4, 2, 2, 40, 30), (TTextBox{100, 50, 107, 55}));
}

TEST(AreaReading, ASecondPassCorrectsUnsureWordsAndAddsMissedOnes) {
  std::vector<TReadWord> words = {{"Settlngs", 60, {0, 0, 40, 10}}, {"File", 95, {50, 0, 70, 10}}};
  EXPECT_TRUE(WantsSecondPass(words));
  TakeSecondPass(words, {{"Settings", 90, {1, 0, 41, 10}},   // the same place, surer
                         {"Fi1e", 70, {50, 0, 70, 10}},      // the same place, less sure
                         {"View", 88, {80, 0, 100, 10}}});   // a place the first missed
  ASSERT_EQ(words.size(), 3u);
  EXPECT_EQ(words[0].Text, "Settings");
  EXPECT_EQ(words[1].Text, "File");
  EXPECT_EQ(words[2].Text, "View");
  EXPECT_FALSE(WantsSecondPass(words));
  words.push_back({"~~", 49, {0, 20, 10, 30}});
  DropUnsure(words);
  EXPECT_EQ(words.size(), 3u);
}
