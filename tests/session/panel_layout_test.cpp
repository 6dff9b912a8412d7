// The panel on screens at 100, 125, 150 and 200 %: every length of the design scaled
// by the one rounding rule, and the pictures each scale takes.
#include "session/panel_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "controls/scaled_pictures.h"
#include "drawn_pictures.h"  // written by make_bitmaps.py beside the pictures

TEST(PanelLayout, EveryLengthFollowsTheScreensScale) {
  struct Case {
    int32_t Dpi, Height;
    TkoBox Play, FullScreen, Bar, Speed, Volume;
    TStripCorners Strip;
    TkoPoint Info;
    int32_t Font, Line, ButtonPicture, Thumb, ThumbPicture, Margin;
    TkoRect Time, Title;  // for a panel of 800 x Height
  };
  const Case cases[] = {
      {96, 40, {8, 8, 24, 24}, {164, 8, 24, 24}, {210, 23, 200, 10}, {420, 18, 70, 20}, {494, 18, 50, 20},
       {194, 210, 16}, {214, 2}, 13, 1, 20, 16, 14, 2, {629, 1, 798, 20}, {498, 21, 798, 37}},
      {120, 50, {10, 10, 30, 30}, {205, 10, 30, 30}, {263, 29, 250, 13}, {525, 23, 88, 25}, {618, 23, 63, 25},
       {243, 263, 20}, {268, 3}, 16, 1, 25, 20, 18, 3, {586, 1, 797, 25}, {623, 26, 797, 46}},
      {144, 60, {12, 12, 36, 36}, {246, 12, 36, 36}, {315, 35, 300, 15}, {630, 27, 105, 30}, {741, 27, 75, 30},
       {291, 315, 24}, {321, 3}, 20, 2, 30, 24, 20, 3, {543, 2, 797, 30}, {747, 31, 797, 55}},
      {192, 80, {16, 16, 48, 48}, {328, 16, 48, 48}, {420, 46, 400, 20}, {840, 36, 140, 40}, {988, 36, 100, 40},
       {388, 420, 32}, {428, 4}, 26, 2, 40, 32, 28, 4, {458, 2, 796, 40}, {996, 42, 796, 74}},
  };
  for (const Case& c : cases) {
    const TPanelGeometry g{TScreenScale(c.Dpi)};
    SCOPED_TRACE(c.Dpi);
    EXPECT_EQ(g.Height, c.Height);
    EXPECT_EQ(g.Buttons[0], c.Play);
    EXPECT_EQ(g.Buttons[1], c.Play) << "Pause shares Play's place";
    EXPECT_EQ(g.Buttons[6], c.FullScreen);
    EXPECT_EQ(std::tuple(g.ProgressBar, g.SpeedSlider, g.VolumeSlider), std::tuple(c.Bar, c.Speed, c.Volume));
    EXPECT_EQ(std::tuple(g.Strip.SlantTopX, g.Strip.SlantBottomX, g.Strip.Bottom),
              std::tuple(c.Strip.SlantTopX, c.Strip.SlantBottomX, c.Strip.Bottom));
    EXPECT_EQ(g.InfoText, c.Info);
    EXPECT_EQ(std::tuple(g.FontHeight, g.LineWidth, g.ButtonPicture, g.ThumbSize, g.ThumbPicture, g.BarMargin),
              std::tuple(c.Font, c.Line, c.ButtonPicture, c.Thumb, c.ThumbPicture, c.Margin));
    EXPECT_EQ(g.TimeTextRect(800), c.Time);
    EXPECT_EQ(g.TitleRect(800, c.Height), c.Title);
    EXPECT_EQ(g.VolumeLabelRect(800, c.Height).Left, TScreenScale(c.Dpi).Px(548));
  }
}

// The usual screen scales have pictures of their own; a screen between them takes the
// smallest drawn above its scale (reduced to size), and above the largest, the largest.
TEST(PanelLayout, EachScaleTakesThePicturesDrawnAtOrAboveIt) {
  for (const auto& [dpi, percent] : {std::pair(96, 100), std::pair(97, 125), std::pair(120, 125), std::pair(121, 150),
                                     std::pair(144, 150), std::pair(168, 175), std::pair(192, 200),
                                     std::pair(240, 300), std::pair(480, 500), std::pair(576, 500)})
    EXPECT_EQ(PictureScaleFor(TScreenScale(dpi)), percent) << dpi;
  EXPECT_EQ(ScaledPictureName(L"PLAYBMP", 100), L"PLAYBMP");
  EXPECT_EQ(ScaledPictureName(L"PLAYBMP", 150), L"PLAYBMP_150");
}

namespace {
// The picture the build drew under that resource name; null when it drew none.
const TDrawnPicture* DrawnPicture(const std::wstring& name) {
  for (const TDrawnPicture& picture : kDrawnPictures)
    if (name == picture.Name) return &picture;
  return nullptr;
}

std::string Ascii(const std::wstring& name) { return {name.begin(), name.end()}; }  // resource names are ASCII

std::vector<std::pair<const wchar_t*, int32_t>> PicturesAndPlaces(const TPanelGeometry& g) {
  std::vector<std::pair<const wchar_t*, int32_t>> pictures;
  for (const TPanelButton& button : kPanelButtons) pictures.emplace_back(button.Bitmap, g.ButtonPicture);
  pictures.emplace_back(kSpeedThumbBitmap, g.ThumbPicture);
  pictures.emplace_back(kVolumeThumbBitmap, g.ThumbPicture);
  return pictures;
}
}  // namespace

// Every scale the player may choose has every picture; at 100, 125, 150, 175 and 200 %
// each button and thumb is given one drawn exactly as large as its place, so that nothing
// is reduced and blurred (a 21-pixel thumb in a 20-pixel place at 150 %, a 150 % picture
// at 125 %). The sizes are those of the pictures make_bitmaps.py drew for this build
// (drawn_pictures.h).
TEST(PanelLayout, EveryScaleHasEveryPictureAndTheUsualOnesInTheSizeItWasDrawn) {
  for (const int32_t percent : kPictureScales)
    for (const auto& picture : PicturesAndPlaces(TPanelGeometry()))
      EXPECT_NE(DrawnPicture(ScaledPictureName(picture.first, percent)), nullptr)
          << Ascii(picture.first) << " at " << percent;
  for (const int32_t percent : {100, 125, 150, 175, 200}) {
    const TScreenScale scale(kDesignDpi * percent / 100);
    for (const auto& [name, place] : PicturesAndPlaces(TPanelGeometry{scale})) {
      const std::wstring chosen = ScaledPictureName(name, PictureScaleFor(scale));
      const TDrawnPicture* drawn = DrawnPicture(chosen);
      ASSERT_NE(drawn, nullptr) << percent << " %: no picture " << Ascii(chosen);
      EXPECT_EQ(std::pair(drawn->Width, drawn->Height), std::pair(place, place))
          << percent << " %: " << Ascii(chosen);
    }
  }
}
