// The copies the presenter makes: whole frames by placement and rate, and the areas
// under the pointer, cut to the picture so that no copy reads outside it.
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
