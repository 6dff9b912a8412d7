// Text drawn with TrueType fonts for the test films: ink where the text's box says,
// nothing outside the picture, and grey edges only when anti-aliased.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <stdexcept>

#include "film_text/truetype_text.h"

namespace {
using filmwriter::FontFace;
using filmwriter::Picture;
using filmwriter::TrueTypeFont;

constexpr uint32_t kPaper = 0xFFFFFF, kInk = 0x000000;

TEST(TrueTypeText, InkLiesInTheTextsBoxInEveryFaceAndSize) {
  for (const FontFace face : {FontFace::DejaVuSans, FontFace::DejaVuSansMono, FontFace::Tahoma})
    for (const double points : {8.0, 11.0}) {
      SCOPED_TRACE(filmwriter::FontFile(face) + " " + std::to_string(points));
      if (!filmwriter::FontInstalled(face)) GTEST_SKIP() << "not installed";
      const TrueTypeFont font(face, points);
      Picture picture = Picture::Filled(200, 40, kPaper);
      const int advance = font.Draw(picture, 10, 5, "Settings Настройки", kInk);
      const filmwriter::TextBox box = font.Box(10, 5, "Settings Настройки");
      EXPECT_EQ(advance, box.right - box.left);
      EXPECT_EQ(box.bottom - box.top, font.LineHeight());
      // 8 pt is 10.7 pixels at 96 dots per inch; a line is a little more.
      EXPECT_GE(font.LineHeight(), int(points * 96 / 72));
      EXPECT_LE(font.LineHeight(), int(points * 96 / 72 * 1.5));
      int inked = 0;
      for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
          if (picture.At(x, y) == kPaper) continue;
          ++inked;
          EXPECT_TRUE(x >= box.left - 1 && x < box.right + 1 && y >= box.top && y < box.bottom) << x << "," << y;
        }
      EXPECT_GT(inked, 100);
    }
}

TEST(TrueTypeText, GreyEdgesOnlyWhenAntiAliased) {
  for (const bool antialiased : {true, false}) {
    const TrueTypeFont font(FontFace::DejaVuSans, 9, antialiased);
    Picture picture = Picture::Filled(120, 20, kPaper);
    font.Draw(picture, 2, 2, "Window", kInk);
    const std::set<uint32_t> colours(picture.pixels.begin(), picture.pixels.end());
    EXPECT_EQ(colours.size() > 2, antialiased);
  }
}

TEST(TrueTypeText, TextBeyondThePictureIsCutOff) {
  const TrueTypeFont font(FontFace::DejaVuSans, 11);
  Picture picture = Picture::Filled(30, 10, kPaper);
  font.Draw(picture, -15, -6, "Wide text beyond the edges", kInk);
  font.Draw(picture, 20, 4, "more", kInk);
  EXPECT_EQ(picture.pixels.size(), 300u);
  EXPECT_NE(std::count(picture.pixels.begin(), picture.pixels.end(), kPaper), 300);
}

TEST(TrueTypeText, AFileThatIsNoFontIsRefused) {
  EXPECT_THROW(TrueTypeFont("/nonexistent/font.ttf", 10), std::runtime_error);
}
}  // namespace
