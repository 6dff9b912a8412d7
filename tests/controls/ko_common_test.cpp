#include "controls/ko_common.h"

#include <gtest/gtest.h>

#include <utility>

TEST(KoCommon, MakeRectIncludesTheLastPixelAndGrowsBackwardsForNegativeSizes) {
  struct Case {
    int32_t x, y, width, height;
    TkoRect expected;
  };
  const Case cases[] = {
      {10, 20, 5, 3, {10, 20, 14, 22}},
      {10, 20, 1, 1, {10, 20, 10, 20}},
      {10, 20, 0, 0, {10, 20, 9, 19}},  // empty: right before left
      {10, 20, -5, -3, {6, 18, 10, 20}},
      {10, 20, -1, 4, {10, 20, 10, 23}},
      {-4, -4, 8, -8, {-4, -11, 3, -4}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MakeRect(c.x, c.y, c.width, c.height), c.expected) << c.width << "x" << c.height;
}

TEST(KoCommon, FontStyleBitsSetWeightItalicUnderlineAndStrikeOut) {
  struct Case {
    unsigned style;
    TkoFontTraits expected;
  };
  const Case cases[] = {
      {0, {400, false, false, false}},
      {kFontBold, {700, false, false, false}},
      {kFontItalic, {400, true, false, false}},
      {kFontUnderline, {400, false, true, false}},
      {kFontStrikeOut, {400, false, false, true}},
      {kFontBold | kFontUnderline | 16, {700, false, true, false}},  // unknown bits are ignored
  };
  for (const Case& c : cases) EXPECT_EQ(FontTraitsFromStyle(c.style), c.expected) << "style " << c.style;
}

TEST(KoCommon, MenuTextReplacesTheItemUnlessEmptyOrBeginningWithBackspace) {
  // "\bF9" is a missing language value plus its shortcut.
  for (const auto& [text, replaces] : {std::pair{"Загрузить\bCtrl+O", true}, {" \bF9", true}, {"", false},
                                       {"\bF9", false}, {"\b", false}})
    EXPECT_EQ(MenuTextReplacesItem(text), replaces) << text;
}
