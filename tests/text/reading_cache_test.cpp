// Readings kept by their pixels: the same pixels and pass anywhere on the picture are
// answered with the words read before, moved there; any other pixel, size or pass is
// read anew; and the oldest readings go when the budget is spent.
#include "text/reading_cache.h"

#include <gtest/gtest.h>

namespace {
TPreparedArea Area(int32_t left, int32_t top, uint8_t shade = 255) {
  TPreparedArea area{{left, top, left + 4, top + 2}, std::vector<uint8_t>(8, shade)};
  area.Grey[3] = 0;
  return area;
}

const TReadPass kLine{3, TTextLayout::kSingleLine};
}  // namespace

TEST(ReadingCache, AnswersTheSamePixelsAnywhereAndNothingElse) {
  TReadingCache cache;
  cache.Keep(Area(10, 20), kLine, {{"Open", 91, {11, 20, 13, 22}}});

  const auto moved = cache.Find(Area(100, 5), kLine);
  ASSERT_TRUE(moved.has_value());
  ASSERT_EQ(moved->size(), 1u);
  EXPECT_EQ((*moved)[0].Text, "Open");
  EXPECT_EQ((*moved)[0].Confidence, 91);
  EXPECT_EQ((*moved)[0].Box, (TTextBox{101, 5, 103, 7}));

  TPreparedArea onePixel = Area(10, 20);
  onePixel.Grey[0] = 254;
  TPreparedArea otherShape = Area(10, 20);
  otherShape.Box = {10, 20, 12, 24};  // the same bytes, 2 by 4
  EXPECT_FALSE(cache.Find(onePixel, kLine));
  EXPECT_FALSE(cache.Find(otherShape, kLine));
  EXPECT_FALSE(cache.Find(Area(10, 20), TReadPass{4, TTextLayout::kSingleLine}));
  EXPECT_FALSE(cache.Find(Area(10, 20), TReadPass{3, TTextLayout::kSparse}));

  cache.Keep(Area(0, 0, 200), kLine, {});  // nothing read there is remembered too
  const auto nothing = cache.Find(Area(7, 7, 200), kLine);
  ASSERT_TRUE(nothing.has_value());
  EXPECT_TRUE(nothing->empty());
}

TEST(ReadingCache, TheOldestReadingsGoWhenTheBudgetIsSpent) {
  TReadingCache cache(1000);  // room for a few areas of 8 pixels and a word
  for (int shade = 0; shade < 50; ++shade)
    cache.Keep(Area(0, 0, uint8_t(100 + shade)), kLine, {{std::to_string(shade), 90, {0, 0, 1, 1}}});
  EXPECT_TRUE(cache.Find(Area(0, 0, 149), kLine)) << "the newest stays";
  EXPECT_FALSE(cache.Find(Area(0, 0, 100), kLine)) << "the oldest went";
}
