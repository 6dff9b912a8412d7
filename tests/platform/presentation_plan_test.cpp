// The copies the presenter makes: whole frames by placement and rate, the areas under
// the pointer, and a frame's copies of what changed, each cut to the picture so that no
// copy reads outside it.
#include "platform/presentation_plan.h"

#include <gtest/gtest.h>

namespace {
const TkoSize kFrame{770, 695};
const TkoPicturePlacement kUnscaled = PlacePicture(kFrame, {801, 761});  // at (15, 33)
const TkoPicturePlacement kScaled = PlacePicture(kFrame, {600, 400});    // 443 x 400 at (78, 0)
}  // namespace

TEST(PresentationPlan, WholeFramesAreStretchedWhenScaledAndSmoothedOnlyForSlowFilms) {
  EXPECT_EQ(WholeFrameBlit(kFrame, kUnscaled, 1), (TkoBlit{{0, 0, 770, 695}, {15, 33, 770, 695}, false, false}));
  EXPECT_EQ(WholeFrameBlit(kFrame, kScaled, 5), (TkoBlit{{0, 0, 770, 695}, {78, 0, 443, 400}, true, true}));
  EXPECT_EQ(WholeFrameBlit(kFrame, kScaled, 6), (TkoBlit{{0, 0, 770, 695}, {78, 0, 443, 400}, true, false}));
}

TEST(PresentationPlan, PointerAreasAreOneCopyWhenTheyOverlapElseTwoCutToThePicture) {
  struct Case {
    TkoPoint from, to;
    std::vector<TkoBox> sources;
  };
  const Case cases[] = {
      {{100, 200}, {110, 190}, {{100, 190, 42, 42}}},                      // overlapping: one box
      {{100, 200}, {300, 200}, {{100, 200, 32, 32}, {300, 200, 32, 32}}},  // apart: old, then new
      {{-32, -32}, {-32, -32}, {}},                                        // off the picture (segment start)
      {{-32, -32}, {5, 6}, {{5, 6, 32, 32}}},
      {{-10, -20}, {500, 500}, {{0, 0, 22, 12}, {500, 500, 32, 32}}},
      {{740, 680}, {760, 684}, {{740, 680, 30, 15}}},
  };
  for (const Case& c : cases) {
    for (const TkoPicturePlacement& placement : {kUnscaled, kScaled}) {
      const TkoBlits blits = CursorAreaBlits(c.from, c.to, {32, 32}, kFrame, placement);
      ASSERT_EQ(blits.Count, int32_t(c.sources.size())) << c.from.X << " to " << c.to.X;
      for (int32_t i = 0; i < blits.Count; ++i) {
        const TkoBlit& blit = blits.Items[i];
        EXPECT_EQ(blit.Source, c.sources[size_t(i)]);
        EXPECT_EQ(blit.Target, FrameBoxToWindow(blit.Source, placement));
        EXPECT_EQ(blit.Stretch && blit.Smooth, placement.Scaling) << "scaled pointer areas are always smoothed";
      }
    }
  }
  // (400, 300) x 0.5755 + (78, 0) = (308.2, 172.7); 32 x 0.5755 = 18.4.
  const TkoBlits far = CursorAreaBlits({0, 0}, {400, 300}, {32, 32}, kFrame, kScaled);
  EXPECT_EQ(far.Items[1].Target, (TkoBox{308, 173, 18, 18}));
}

TEST(PresentationPlan, AFrameCopiesWhatChangedAndThePointerAreasUnlessTheWindowLostThePicture) {
  const TkoBlit whole = WholeFrameBlit(kFrame, kUnscaled, 10);
  struct Step {
    bool invalidate;
    TkoRect changed;
    TkoPoint pointer;
    std::vector<TkoBox> sources;  // whole: the whole frame
  };
  const Step steps[] = {
      {false, {10, 20, 50, 30}, {100, 200}, {whole.Source}},  // a new presenter has shown nothing
      {false, {10, 20, 50, 30}, {110, 190}, {{100, 190, 42, 42}, {10, 20, 40, 10}}},
      {false, {}, {110, 190}, {{110, 190, 32, 32}}},
      {false, {760, 690, 800, 700}, {300, 200}, {{110, 190, 32, 32}, {300, 200, 32, 32}, {760, 690, 10, 5}}},
      {true, {}, {300, 200}, {whole.Source}},
      {false, {}, {-32, -32}, {{300, 200, 32, 32}}},  // the pointer gone off the picture
  };
  TkoShownPicture shown;
  for (const Step& step : steps) {
    if (step.invalidate) shown.Invalidate();
    const TkoBlits blits = shown.FrameCopies(step.changed, step.pointer, {32, 32}, kFrame, kUnscaled, 10);
    ASSERT_EQ(blits.Count, int32_t(step.sources.size())) << step.pointer.X;
    for (int32_t i = 0; i < blits.Count; ++i) {
      EXPECT_EQ(blits.Items[i].Source, step.sources[size_t(i)]);
      EXPECT_EQ(blits.Items[i].Target, FrameBoxToWindow(blits.Items[i].Source, kUnscaled));
      EXPECT_FALSE(blits.Items[i].Stretch);
    }
  }
  // After the pointer alone moved, a frame copies from where it was shown then.
  EXPECT_EQ(shown.PointerCopies({400, 300}, {32, 32}, kFrame, kUnscaled).Count, 1);
  EXPECT_EQ(shown.FrameCopies({}, {400, 300}, {32, 32}, kFrame, kUnscaled, 10).Items[0].Source,
            (TkoBox{400, 300, 32, 32}));
  // A frame the engine did not show moved the pointer unseen (to 200,100): the next
  // pointer copy still takes it away from where it was shown.
  const TkoBlits unseen = shown.PointerCopies({210, 100}, {32, 32}, kFrame, kUnscaled);
  ASSERT_EQ(unseen.Count, 2);
  EXPECT_EQ(std::pair(unseen.Items[0].Source, unseen.Items[1].Source),
            std::pair(TkoBox{400, 300, 32, 32}, TkoBox{210, 100, 32, 32}));
  // A reduced picture is copied whole every time.
  for (int i = 0; i < 2; ++i) {
    const TkoBlits blits = shown.FrameCopies({1, 1, 2, 2}, {5, 5}, {32, 32}, kFrame, kScaled, 10);
    ASSERT_EQ(blits.Count, 1);
    EXPECT_EQ(blits.Items[0], WholeFrameBlit(kFrame, kScaled, 10));
  }
}

// Enlarged by a whole factor, every pixel is repeated: a part of the picture is copied on
// its own to exactly its blocks. Enlarged by another factor, the whole picture is copied
// smoothed, whatever the rate.
TEST(PresentationPlan, AZoomedPictureIsSharpAtWholeFactorsAndSmoothedElse) {
  const TkoSize frame{320, 240};
  const TkoPicturePlacement twice = PlacePicture(frame, {1191, 637}, {640, 480}, false);  // at (275, 78)
  const TkoPicturePlacement half = PlacePicture(frame, {1191, 637}, {480, 360}, false);
  EXPECT_EQ(WholeFrameBlit(frame, twice, 10), (TkoBlit{{0, 0, 320, 240}, {275, 78, 640, 480}, true, false, true}));
  EXPECT_EQ(WholeFrameBlit(frame, half, 10), (TkoBlit{{0, 0, 320, 240}, {355, 138, 480, 360}, true, true, false}));

  TkoShownPicture shown;
  EXPECT_EQ(shown.FrameCopies({}, {10, 10}, {32, 32}, frame, twice, 10).Items[0].Target.Width, 640);
  const TkoBlits copies = shown.FrameCopies({100, 50, 110, 60}, {20, 10}, {32, 32}, frame, twice, 10);
  ASSERT_EQ(copies.Count, 2);
  EXPECT_EQ(copies.Items[0], (TkoBlit{{10, 10, 42, 32}, {295, 98, 84, 64}, true, false, true}));  // the pointer
  EXPECT_EQ(copies.Items[1], (TkoBlit{{100, 50, 10, 10}, {475, 178, 20, 20}, true, false, true}));
  const TkoBlits whole = shown.FrameCopies({100, 50, 110, 60}, {20, 10}, {32, 32}, frame, half, 10);
  ASSERT_EQ(whole.Count, 1);
  EXPECT_EQ(whole.Items[0], WholeFrameBlit(frame, half, 10));
  EXPECT_TRUE(CursorAreaBlits({20, 10}, {30, 10}, {32, 32}, frame, half).Items[0].Smooth);
}
