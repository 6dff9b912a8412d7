#include "playback/picture_layout.h"

#include <gtest/gtest.h>

TEST(PictureLayout, FrameIsCentredAndReducedByTheSmallerRatioWhenItDoesNotFit) {
  // Client area 800 x 800: 801 x 801 available, 801 x 761 with the panel.
  EXPECT_EQ(AvailableArea({0, 0, 800, 800}, false), (TkoSize{801, 801}));
  EXPECT_EQ(AvailableArea({0, 0, 800, 800}, true), (TkoSize{801, 761}));
  struct Case {
    TkoSize frame, available;
    bool scaling;
    float scale;
    TkoSize shown;
    TkoPoint origin;
  };
  const Case cases[] = {
      {{770, 695}, {801, 761}, false, 1.0f, {770, 695}, {15, 33}},
      {{801, 761}, {801, 761}, false, 1.0f, {801, 761}, {0, 0}},  // one pixel larger than right - left
      {{770, 695}, {600, 400}, true, 400.0f / 695, {443, 400}, {78, 0}},
      {{1000, 100}, {500, 400}, true, 0.5f, {500, 50}, {0, 175}},  // the width's ratio is the smaller
      {{10, 5}, {5, 100}, true, 0.5f, {5, 2}, {0, 49}},             // 2.5 goes to the even 2
      {{14, 7}, {7, 100}, true, 0.5f, {7, 4}, {0, 48}},             // 3.5 goes to the even 4
      {{100, 100}, {100, -19}, true, 0.0f, {0, 0}, {50, 0}},        // no room left by the panel
  };
  for (const Case& c : cases) {
    const TkoPicturePlacement p = PlacePicture(c.frame, c.available);
    EXPECT_EQ(p.Scaling, c.scaling) << c.frame.Width << " x " << c.frame.Height;
    EXPECT_FLOAT_EQ(p.Scale, c.scale);
    EXPECT_EQ(p.Shown, c.shown);
    EXPECT_EQ(p.Origin, c.origin);
  }
}

TEST(PictureLayout, WindowGrowsAroundItsCentreOrIsMaximised) {
  const TkoSize screen{1920, 1080}, available{580, 330};
  const TkoRect window{100, 100, 699, 499};  // 600 x 400
  for (const TkoSize frame : {TkoSize{500, 300}, available})  // a frame that just fits: nothing to grow
    EXPECT_EQ(PlanWindowGrowth(frame, available, window, screen).Action, TkoWindowAction::kNone);
  struct Case {
    TkoSize frame;
    TkoRect window;
    TkoBox grown;
  };
  const Case cases[] = {
      {{600, 370}, window, {399 - 310, 299 - 220, 620, 440}},  // 20 wider, 40 higher, centred on (399, 299)
      {{600, 100}, window, {399 - 310, 299 - 200, 620, 400}},  // only the missing direction grows
      {{1000, 700}, {1300, 650, 1899, 1049}, {1920 - 1020, 1080 - 770, 1020, 770}},  // pulled back on the screen
      {{1000, 700}, {-50, -20, 549, 379}, {0, 0, 1020, 770}},
      {{1900, 330}, window, {0, 99, 1920, 400}},  // exactly as wide as the screen
      {{580, 1010}, window, {99, 0, 600, 1080}},  // exactly as high
  };
  for (const Case& c : cases) {
    const TkoWindowGrowth g = PlanWindowGrowth(c.frame, available, c.window, screen);
    EXPECT_EQ(g.Action, TkoWindowAction::kMoveAndResize);
    EXPECT_EQ(g.Window, c.grown);
  }
  for (const TkoSize frame : {TkoSize{2000, 300}, TkoSize{600, 1100}})
    EXPECT_EQ(PlanWindowGrowth(frame, available, window, screen).Action, TkoWindowAction::kMaximise);
}

TEST(PictureLayout, MarginsCursorAreasAndTheirPlaceInTheWindow) {
  const TkoPicturePlacement unscaled = PlacePicture({770, 695}, {801, 761});
  const TkoMargins m = PictureMargins(unscaled, {0, 0, 800, 800});
  EXPECT_EQ(std::vector<TkoRect>(m.Parts, m.Parts + 4),
            (std::vector<TkoRect>{{0, 0, 800, 33}, {0, 728, 800, 800}, {0, 33, 15, 728}, {785, 33, 800, 728}}));

  // Pointer areas just apart are two boxes, the old one first (overlapping ones, one box,
  // the presentation plan's test shows).
  const TkoCursorAreas apart = CursorAreas({100, 100}, {132, 100}, 32, 32);
  EXPECT_EQ(std::vector<TkoBox>(apart.Boxes, apart.Boxes + apart.Count),
            (std::vector<TkoBox>{{100, 100, 32, 32}, {132, 100, 32, 32}}));
  EXPECT_EQ(CursorAreas({100, 100}, {100, 68}, 32, 32).Count, 2) << "just apart upwards";

  EXPECT_EQ(FrameBoxToWindow({10, 20, 32, 32}, unscaled), (TkoBox{25, 53, 32, 32}));
  TkoPicturePlacement scaled;
  scaled.Scaling = true, scaled.Scale = 0.5f, scaled.Origin = {78, 0};
  // 5 x 0.5 + 78 = 80.5 gives 80; 7 x 0.5 = 3.5 gives 4; 33 x 0.5 = 16.5 gives 16.
  EXPECT_EQ(FrameBoxToWindow({5, 7, 33, 32}, scaled), (TkoBox{80, 4, 16, 16}));
}

TEST(PictureLayout, ExtremeFrameAndWindowSizesSaturateInsteadOfOverflowing) {
  constexpr int32_t kMax = INT32_MAX, kMin = INT32_MIN;
  const TkoSize screen{1920, 1080};
  const TkoRect window{100, 100, 699, 499};
  EXPECT_EQ(AvailableArea({kMin, kMin, kMax, kMax}, true), (TkoSize{kMax, kMax}));
  EXPECT_EQ(PlanWindowGrowth({kMax, kMax}, {580, 330}, window, screen).Action, TkoWindowAction::kMaximise);
  EXPECT_EQ(PlanWindowGrowth({100, kMax}, {580, -19}, window, screen).Action, TkoWindowAction::kMaximise);
  EXPECT_EQ(PlanWindowGrowth({kMin, kMin}, {1, 1}, window, screen).Action, TkoWindowAction::kNone);
  const TkoWindowGrowth wide = PlanWindowGrowth({700, 100}, {580, 330}, {kMin, 0, kMax - 2000, 399}, screen);
  EXPECT_EQ(wide.Action, TkoWindowAction::kMaximise) << "a window wider than any screen";

  // A frame without area is placed unscaled: its origin lies far to the right.
  const TkoPicturePlacement negative = PlacePicture({kMin, kMin}, {801, 761});
  EXPECT_EQ(negative.Origin, (TkoPoint{1073742224, 1073742204}));
  TkoPicturePlacement far;
  far.Origin = {kMax, kMax}, far.Shown = {kMax, kMax};
  const TkoMargins m = PictureMargins(far, {0, 0, 800, 800});
  EXPECT_EQ(std::vector<TkoRect>(m.Parts, m.Parts + 4),
            (std::vector<TkoRect>{
                {0, 0, 800, kMax}, {0, kMax, 800, 800}, {0, kMax, kMax, kMax}, {kMax, kMax, 800, kMax}}));
  EXPECT_EQ(FrameBoxToWindow({kMax, kMin, 1, 1}, negative), (TkoBox{kMax, kMin + 1073742204, 1, 1}));
  EXPECT_EQ(CursorAreas({0, 0}, {1, -1}, kMax, kMax).Boxes[0], (TkoBox{0, -1, kMax, kMax}));
}
