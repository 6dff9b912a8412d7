// The one rounding rule for lengths on a scaled screen, and the film's picture at its
// zoom: screen scale (whole factors kept sharp), original pixels, fit window.
#include "playback/screen_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "playback/picture_zoom.h"

TEST(ScreenScale, LengthsAreMultipliedAndRoundedHalvesAwayFromZero) {
  struct Case {
    int32_t Dpi, Design, Scaled;
  };
  const Case cases[] = {
      {96, 40, 40},   {96, 13, 13},    {96, -3, -3},   {0, 40, 40},    // 100 %; no DPI counts as 96
      {120, 40, 50},  {120, 13, 16},   {120, 2, 3},    {120, -2, -3},  // 125 %: 2.5 and -2.5 away from 0
      {120, 171, 214}, {144, 13, 20},  {144, 1, 2},    {144, 23, 35},  // 150 %: 19.5, 1.5, 34.5
      {168, 16, 28},  {192, 40, 80},   {192, 13, 26},  {288, 7, 21},
      {192, std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max()},  // saturates
  };
  for (const Case& c : cases) EXPECT_EQ(TScreenScale(c.Dpi).Px(c.Design), c.Scaled) << c.Dpi << " dpi, " << c.Design;

  const TScreenScale s150(144);
  EXPECT_EQ(s150.Box({8, 23, 24, 10}), (TkoBox{12, 35, 36, 15}));
  EXPECT_EQ(s150.Size({770, 695}), (TkoSize{1155, 1043}));  // 1042.5
  for (const auto& [dpi, whole] : {std::pair(96, true), std::pair(192, true), std::pair(288, true),
                                   std::pair(120, false), std::pair(144, false)})
    EXPECT_EQ(TScreenScale(dpi).IsWhole(), whole) << dpi;
  for (const auto& [ratio, dpi] : {std::pair(1.0, 96), std::pair(1.25, 120), std::pair(2.0, 192), std::pair(1.1, 106),
                                   std::pair(0.0, 96), std::pair(-1.0, 96), std::pair(std::nan(""), 96)})
    EXPECT_EQ(TScreenScale::FromRatio(ratio).Dpi(), dpi) << ratio;
}

// A 320 x 240 frame in an area of 1191 x 637 (a 1200 x 800 window at 200 %, its panel
// shown) and in smaller ones.
TEST(ScreenScale, ThePictureAtEachZoom) {
  struct Case {
    TPictureZoom Zoom;
    int32_t Dpi;
    TkoSize Available;
    TkoSize Shown;
    TkoPoint Origin;
    bool Scaling, WholeFactor;
  };
  constexpr auto kScreen = TPictureZoom::kScreenScale, kOriginal = TPictureZoom::kOriginalPixels,
                 kFit = TPictureZoom::kFitWindow;
  const Case cases[] = {
      {kScreen, 192, {1191, 637}, {640, 480}, {275, 78}, true, true},     // every pixel a 2 x 2 block
      {kScreen, 288, {1191, 800}, {960, 720}, {115, 40}, true, true},
      {kScreen, 144, {1191, 637}, {480, 360}, {355, 138}, true, false},   // 150 %: smoothed
      {kScreen, 120, {1191, 637}, {400, 300}, {395, 168}, true, false},
      {kScreen, 96, {1191, 637}, {320, 240}, {435, 198}, false, false},   // 100 %: as designed
      {kScreen, 192, {600, 400}, {533, 400}, {33, 0}, true, false},       // too large: fitted, 5/3
      {kOriginal, 192, {1191, 637}, {320, 240}, {435, 198}, false, false},
      {kOriginal, 192, {300, 200}, {267, 200}, {16, 0}, true, false},     // reduced as designed
      {kFit, 96, {1281, 871}, {1161, 871}, {60, 0}, true, false},         // enlarged to the height
      {kFit, 96, {640, 480}, {640, 480}, {0, 0}, true, true},             // exactly twice
      {kFit, 192, {160, 100}, {133, 100}, {13, 0}, true, false},
      {kFit, 96, {320, 240}, {320, 240}, {0, 0}, false, false},
  };
  for (const Case& c : cases) {
    const TkoPicturePlacement p = PlaceZoomedPicture({320, 240}, c.Available, c.Zoom, TScreenScale(c.Dpi));
    const std::string trace = std::to_string(static_cast<int>(c.Zoom)) + " at " + std::to_string(c.Dpi) + " in " +
                              std::to_string(c.Available.Width) + "x" + std::to_string(c.Available.Height);
    EXPECT_EQ(p.Shown, c.Shown) << trace;
    EXPECT_EQ(p.Origin, c.Origin) << trace;
    EXPECT_EQ(std::pair(p.Scaling, p.WholeFactor), std::pair(c.Scaling, c.WholeFactor)) << trace;
  }
  // Growing the window and the full-screen rule see the zoomed size; fit window grows
  // as screen scale does.
  EXPECT_EQ(ZoomedFrameSize({770, 695}, kScreen, TScreenScale(120)), (TkoSize{963, 869}));
  EXPECT_EQ(ZoomedFrameSize({770, 695}, kFit, TScreenScale(192)), (TkoSize{1540, 1390}));
  EXPECT_EQ(ZoomedFrameSize({770, 695}, kOriginal, TScreenScale(192)), (TkoSize{770, 695}));
}
