#include "session/window_layout.h"

#include <gtest/gtest.h>

namespace {
constexpr TkoRect kClient{0, 0, 800, 600};

TShellState Shell(bool showPanel, bool listVisible, bool fullScreen) {
  TShellState shell;
  shell.ShowPanel = showPanel;
  shell.SegmentListVisible = listVisible;
  shell.FullScreen = fullScreen;
  return shell;
}

int64_t MouseAt(int32_t x, int32_t y) { return (static_cast<int64_t>(y & 0xFFFF) << 16) | (x & 0xFFFF); }
}  // namespace

// The lengths at 96 dpi, the default scale's, are LengthsFollowTheScreensScale's first case.
TEST(WindowLayout, ChildrenShareTheClientArea) {
  TChildLayout layout = LayOutChildren(kClient, Shell(true, true, false), true);
  EXPECT_TRUE(layout.SegmentListShown);
  EXPECT_EQ(layout.Panel, TPanelAction::kDock);
  layout = LayOutChildren(kClient, Shell(false, true, false), true);
  EXPECT_EQ(layout.SegmentList, (TkoBox{0, 0, 400, 600}));
  EXPECT_EQ(layout.Panel, TPanelAction::kHide);
  EXPECT_FALSE(LayOutChildren(kClient, Shell(true, false, false), true).SegmentListShown);
  // With the panel off, a shown panel slides out only in full screen.
  EXPECT_EQ(LayOutChildren(kClient, Shell(false, false, true), true).Panel, TPanelAction::kStartSliding);
  EXPECT_EQ(LayOutChildren(kClient, Shell(false, false, true), false).Panel, TPanelAction::kHide);
}

TEST(WindowLayout, PanelShowsNearTheBottomEdgeAndSlidesOut) {
  const std::tuple<int64_t, bool, TPanelAction> cases[] = {
      {MouseAt(10, 585), false, TPanelAction::kDock},  // 15 from the edge
      {MouseAt(0xFFFF, 600), true, TPanelAction::kDock},
      {MouseAt(10, 584), false, TPanelAction::kHide},  // 16 from the edge
      {MouseAt(10, 584), true, TPanelAction::kStartSliding},
      {MouseAt(10, -1), false, TPanelAction::kHide},  // above the client area: y 65535
      {-1, true, TPanelAction::kStartSliding},
      {(int64_t{1} << 40) | MouseAt(10, 590), false, TPanelAction::kDock},  // only the high word counts
  };
  for (const auto& [lParam, fullScreen, expected] : cases)
    EXPECT_EQ(PanelOnMouseMove(lParam, kClient, true, fullScreen), expected) << std::hex << lParam;

  EXPECT_EQ(PanelSlideStep(600, 600, true).NewTop, 602);
  EXPECT_TRUE(PanelSlideStep(601, 600, true).Stop);
  EXPECT_TRUE(PanelSlideStep(560, 600, false).Stop);
}

TEST(WindowLayout, MinimumSizeAndTheRestoredPlacement) {
  EXPECT_EQ(EnforceMinimumSize({200, 0, 700, 400}), (TkoRect{200, 0, 800, 400}));  // left edge dragged right
  EXPECT_EQ(EnforceMinimumSize({-10, -10, 1000, 900}), (TkoRect{-10, -10, 1000, 900}));

  const TSavedPlacement saved = SavePlacement({50, 60, 850, 660}, true);
  EXPECT_EQ(saved, (TSavedPlacement{50, 60, 800, 600, true}));
  EXPECT_EQ(RestoredWindowBox(saved), (TkoBox{50, 60, 800, 600}));
  EXPECT_EQ(RestoredWindowBox({-8, -8, -1, 300, false}), (TkoBox{0, 0, 600, 300}));
}

// On a scaled screen every length of the window's layout is scaled: the panel's height,
// the list's width, the smallest window, the mouse zone and the slide step.
TEST(WindowLayout, LengthsFollowTheScreensScale) {
  struct Case {
    int32_t Dpi, Panel, List, Zone, Step;
    TkoSize Smallest;
  };
  for (const Case& c : {Case{96, 40, 400, 16, 2, {600, 400}}, Case{120, 50, 500, 20, 3, {750, 500}},
                        Case{144, 60, 600, 24, 3, {900, 600}}, Case{192, 80, 800, 32, 4, {1200, 800}}}) {
    const TScreenScale scale(c.Dpi);
    SCOPED_TRACE(c.Dpi);
    const TChildLayout layout = LayOutChildren(kClient, Shell(true, true, false), true, scale);
    EXPECT_EQ(layout.PanelBox, (TkoBox{0, 600 - c.Panel, 800, c.Panel}));
    EXPECT_EQ(layout.SegmentList, (TkoBox{0, 0, c.List, 600 - c.Panel}));
    EXPECT_EQ(PanelOnMouseMove(MouseAt(10, 600 - c.Zone + 1), kClient, false, false, scale), TPanelAction::kDock);
    EXPECT_EQ(PanelOnMouseMove(MouseAt(10, 600 - c.Zone), kClient, false, false, scale), TPanelAction::kHide);
    EXPECT_EQ(PanelSlideStep(560, 600, true, scale).NewTop, 560 + c.Step);
    EXPECT_EQ(MinimumWindowSize(scale), c.Smallest);
    EXPECT_EQ(EnforceMinimumSize({100, 100, 300, 200}, scale),
              (TkoRect{100, 100, 100 + c.Smallest.Width, 100 + c.Smallest.Height}));
    // Nothing saved (a start in full screen): 0,0 and the smallest window.
    EXPECT_EQ(RestoredWindowBox(TSavedPlacement{}, scale), (TkoBox{0, 0, c.Smallest.Width, c.Smallest.Height}));
  }
}
