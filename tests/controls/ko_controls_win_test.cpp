// The owner-drawn controls in real windows, for what the panel's end-to-end test cannot
// reach: bounds read back and applied, a drag beyond the window's left edge and after the
// button is up, a refused bar click, and the window going with its object.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "controls/ko_progress_bar_win.h"
#include "controls/ko_slider_win.h"
#include "support/control_parent_win.h"

namespace {
LPARAM MouseAt(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

using ControlWindows = ControlParentTest;
}  // namespace

TEST_F(ControlWindows, BoundsFollowTheWindowAndTheWindowGoesWithItsObject) {
  auto slider = CreateControl<TkoSlider>(FParent);
  const HWND window = slider->Handle();
  MoveWindow(window, -1, 5, 70, 20, TRUE);
  EXPECT_EQ((std::vector<int>{slider->Left(), slider->Top(), slider->Width()}), (std::vector<int>{65535, 5, 70}))
      << "x = -1 reads as an unsigned 16-bit number";
  // A sizing rectangle counts both edges; KOM_APPLYBOUNDS puts the window there.
  RECT sizing{10, 20, 80, 40};
  EXPECT_EQ(SendMessageW(window, WM_MOVING, 0, reinterpret_cast<LPARAM>(&sizing)), TRUE);
  SendMessageW(window, KOM_APPLYBOUNDS, 0, 0);
  RECT bounds{};
  GetWindowRect(window, &bounds);
  MapWindowPoints(nullptr, FParent, reinterpret_cast<POINT*>(&bounds), 2);
  EXPECT_EQ((std::vector<LONG>{bounds.left, bounds.top, bounds.right, bounds.bottom}),
            (std::vector<LONG>{10, 20, 81, 41}));
  slider.reset();
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(ControlWindows, ADragLeftOfTheWindowReachesZeroAndEndsWithTheButton) {
  auto slider = CreateControl<TkoSlider>(FParent);
  MoveWindow(slider->Handle(), 0, 0, 70, 20, TRUE);
  slider->SetMax(8);
  slider->SetPosition(3);
  int changes = 0;
  slider->OnChange = [&changes](TkoSlider&) { ++changes; };
  const HWND window = slider->Handle();
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MouseAt(35, 10));
  EXPECT_EQ(slider->GetPosition(), 4);
  SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MouseAt(-30, 10));  // signed: not 65506
  EXPECT_EQ(slider->GetPosition(), 0);
  SendMessageW(window, WM_LBUTTONUP, 0, MouseAt(-30, 10));
  SendMessageW(window, WM_MOUSEMOVE, 0, MouseAt(60, 10));
  EXPECT_EQ(slider->GetPosition(), 0) << "no longer dragging";
  EXPECT_EQ(changes, 2);
}

TEST_F(ControlWindows, ARefusedBarClickLeavesTheBarWhereItWas) {
  auto bar = CreateControl<TkoProgressBar>(FParent);
  MoveWindow(bar->Handle(), 0, 0, 200, 10, TRUE);
  bar->SetSegments({10, 45});
  std::vector<int32_t> asked;
  bar->OnSegmentClick = [&](TkoProgressBar&, int32_t index, bool& allowed) {
    asked.push_back(index);
    allowed = index == 1;
  };
  SendMessageW(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MouseAt(37, 5));
  EXPECT_EQ(bar->Model().Position(), 10.0f);  // the second segment's start
  SendMessageW(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MouseAt(5, 5));
  EXPECT_EQ(bar->Model().Position(), 10.0f);  // refused
  SendMessageW(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MouseAt(199, 5));  // past the end: not asked
  EXPECT_EQ(asked, (std::vector<int32_t>{1, 0}));
}
