#include "playback/picture_layout.h"

#include <gtest/gtest.h>

TEST(PictureLayout, FrameThatFitsIsCentredUnscaled) {
  // Client area 800 x 800 with the panel: available 801 x 761.
  const TkoSize available = AvailableArea({0, 0, 800, 800}, true);
  EXPECT_EQ(available, (TkoSize{801, 761}));
  EXPECT_EQ(AvailableArea({0, 0, 800, 800}, false), (TkoSize{801, 801}));
  const TkoPicturePlacement p = PlacePicture({770, 695}, available);
  EXPECT_FALSE(p.Scaling);
  EXPECT_EQ(p.Origin, (TkoPoint{15, 33}));
  EXPECT_EQ(p.Shown, (TkoSize{770, 695}));
  // One pixel larger than the client rectangle's right - left still fits.
  EXPECT_FALSE(PlacePicture({801, 761}, available).Scaling);
  EXPECT_TRUE(PlacePicture({802, 761}, available).Scaling);
}

TEST(PictureLayout, FrameThatDoesNotFitIsReducedByTheSmallerRatio) {
  TkoPicturePlacement p = PlacePicture({770, 695}, {600, 400});
  EXPECT_TRUE(p.Scaling);
  EXPECT_NEAR(p.Scale, 0.5755, 1e-4);
  EXPECT_EQ(p.Shown, (TkoSize{443, 400}));
  EXPECT_EQ(p.Origin, (TkoPoint{78, 0}));

  // Width-bound: the width ratio is the smaller one.
  p = PlacePicture({1000, 100}, {500, 400});
  EXPECT_FLOAT_EQ(p.Scale, 0.5f);
  EXPECT_EQ(p.Shown, (TkoSize{500, 50}));
  EXPECT_EQ(p.Origin, (TkoPoint{0, 175}));

  // Halves go to the even neighbour: 5 x 0.5 = 2.5 gives 2, 7 x 0.5 = 3.5 gives 4.
  p = PlacePicture({10, 5}, {5, 100});
  EXPECT_EQ(p.Shown, (TkoSize{5, 2}));
  p = PlacePicture({14, 7}, {7, 100});
  EXPECT_EQ(p.Shown, (TkoSize{7, 4}));

  // A window too small for the panel gives no negative sizes.
  p = PlacePicture({100, 100}, AvailableArea({0, 0, 99, 20}, true));
  EXPECT_TRUE(p.Scaling);
  EXPECT_EQ(p.Shown, (TkoSize{0, 0}));
  EXPECT_GE(p.Origin.X, 0);
}

TEST(PictureLayout, WindowGrowsAroundItsCentreOrIsMaximised) {
  const TkoSize screen{1920, 1080};
  const TkoRect window{100, 100, 699, 499};  // 600 x 400
  EXPECT_EQ(PlanWindowGrowth({500, 300}, {580, 330}, window, screen).Action, TkoWindowAction::kNone);

  // 20 wider and 40 higher than the area: 620 x 440, centred on (399, 299).
  TkoWindowGrowth g = PlanWindowGrowth({600, 370}, {580, 330}, window, screen);
  ASSERT_EQ(g.Action, TkoWindowAction::kMoveAndResize);
  EXPECT_EQ(g.Window, (TkoBox{399 - 310, 299 - 220, 620, 440}));
  // Only the missing direction grows.
  g = PlanWindowGrowth({600, 100}, {580, 330}, window, screen);
  EXPECT_EQ(g.Window.Width, 620);
  EXPECT_EQ(g.Window.Height, 400);

  // Near the bottom-right corner the grown window is pulled back onto the screen; near
  // the top-left it is kept at 0.
  g = PlanWindowGrowth({1000, 700}, {580, 330}, {1300, 650, 1899, 1049}, screen);
  EXPECT_EQ(g.Window, (TkoBox{1920 - 1020, 1080 - 770, 1020, 770}));
  g = PlanWindowGrowth({1000, 700}, {580, 330}, {-50, -20, 549, 379}, screen);
  EXPECT_EQ(g.Window.X, 0);
  EXPECT_EQ(g.Window.Y, 0);

  // Larger than the screen: maximised.
  EXPECT_EQ(PlanWindowGrowth({2000, 300}, {580, 330}, window, screen).Action, TkoWindowAction::kMaximise);
  EXPECT_EQ(PlanWindowGrowth({600, 1100}, {580, 330}, window, screen).Action, TkoWindowAction::kMaximise);
}

TEST(PictureLayout, MarginsSurroundThePicture) {
  const TkoPicturePlacement p = PlacePicture({770, 695}, {801, 761});
  const TkoMargins m = PictureMargins(p, {0, 0, 800, 800});
  EXPECT_EQ(m.Parts[0], (TkoRect{0, 0, 800, 33}));
  EXPECT_EQ(m.Parts[1], (TkoRect{0, 728, 800, 800}));
  EXPECT_EQ(m.Parts[2], (TkoRect{0, 33, 15, 728}));
  EXPECT_EQ(m.Parts[3], (TkoRect{785, 33, 800, 728}));

  // A picture filling the width leaves empty left and right margins.
  const TkoMargins full = PictureMargins(PlacePicture({100, 50}, {100, 80}), {0, 0, 99, 79});
  EXPECT_TRUE(full.Parts[2].IsEmpty());
  EXPECT_FALSE(full.Parts[0].IsEmpty());
}

TEST(PictureLayout, CursorAreasAndTheirPlaceInTheWindow) {
  TkoCursorAreas a = CursorAreas({100, 100}, {110, 95}, 32, 32);
  ASSERT_EQ(a.Count, 1);
  EXPECT_EQ(a.Boxes[0], (TkoBox{100, 95, 42, 37}));
  a = CursorAreas({100, 100}, {132, 100}, 32, 32);  // just apart
  ASSERT_EQ(a.Count, 2);
  EXPECT_EQ(a.Boxes[0], (TkoBox{100, 100, 32, 32}));
  EXPECT_EQ(a.Boxes[1], (TkoBox{132, 100, 32, 32}));
  EXPECT_EQ(CursorAreas({-32, -64}, {5, 5}, 32, 64).Count, 2);

  const TkoPicturePlacement unscaled = PlacePicture({770, 695}, {801, 761});
  EXPECT_EQ(FrameBoxToWindow({10, 20, 32, 32}, unscaled), (TkoBox{25, 53, 32, 32}));
  TkoPicturePlacement scaled;
  scaled.Scaling = true;
  scaled.Scale = 0.5f;
  scaled.Origin = {78, 0};
  // 5 x 0.5 + 78 = 80.5 gives 80; 7 x 0.5 = 3.5 gives 4; 33 x 0.5 = 16.5 gives 16.
  EXPECT_EQ(FrameBoxToWindow({5, 7, 33, 32}, scaled), (TkoBox{80, 4, 16, 16}));
}
