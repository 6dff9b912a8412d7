// The owner-drawn controls in real windows: binding, bounds as the window reports them,
// and the mouse turned into values and segment clicks.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/ko_progress_bar_win.h"
#include "controls/ko_slider_win.h"

namespace {
std::wstring ClassOf(HWND window) {
  wchar_t name[64] = L"";
  GetClassNameW(window, name, 64);
  return name;
}

LPARAM MouseAt(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

class ControlWindows : public ::testing::Test {
protected:
  void SetUp() override {
    FParent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(FParent, nullptr);
  }
  void TearDown() override { DestroyWindow(FParent); }

  RECT BoundsInParent(HWND window) const {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, FParent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }

  HWND FParent = nullptr;
};
}  // namespace

TEST_F(ControlWindows, ControlsShareTheirClassFollowTheirWindowAndGoWithTheirObject) {
  auto speed = CreateControl<TkoSlider>(FParent);
  auto volume = CreateControl<TkoSlider>(FParent);
  ASSERT_NE(speed->Handle(), nullptr);
  EXPECT_EQ(ClassOf(speed->Handle()), L"koSlider");
  EXPECT_EQ(ClassOf(volume->Handle()), L"koSlider");
  EXPECT_EQ(std::make_pair(speed->Width(), speed->Height()), std::make_pair(120, 22));  // the slider's defaults

  // Moved directly: the object reads the move back, x = -1 as an unsigned 16-bit 65535.
  MoveWindow(speed->Handle(), -1, 5, 70, 20, TRUE);
  EXPECT_EQ(speed->Left(), 65535);
  EXPECT_EQ(speed->Top(), 5);
  EXPECT_EQ(speed->Width(), 70);
  // A sizing rectangle is stored with both edges counted, and KOM_APPLYBOUNDS puts the
  // window where the object says.
  RECT sizing{10, 20, 80, 40};
  EXPECT_EQ(SendMessageW(speed->Handle(), WM_MOVING, 0, reinterpret_cast<LPARAM>(&sizing)), TRUE);
  SendMessageW(speed->Handle(), KOM_APPLYBOUNDS, 0, 0);
  const RECT bounds = BoundsInParent(speed->Handle());
  EXPECT_EQ((std::vector<LONG>{bounds.left, bounds.top, bounds.right, bounds.bottom}),
            (std::vector<LONG>{10, 20, 81, 41}));

  const HWND window = speed->Handle();
  speed.reset();
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(ControlWindows, TheSliderFollowsAPressAndADrag) {
  auto slider = CreateControl<TkoSlider>(FParent);
  MoveWindow(slider->Handle(), 0, 0, 70, 20, TRUE);
  slider->SetMax(8);
  slider->SetPosition(3);
  int changes = 0;
  slider->OnChange = [&changes](TkoSlider&) { ++changes; };
  const HWND window = slider->Handle();

  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MouseAt(35, 10));
  EXPECT_EQ(slider->GetPosition(), 4);
  EXPECT_EQ(slider->Model().ThumbPos(), 27);
  SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MouseAt(-30, 10));  // left of the window: signed
  EXPECT_EQ(slider->GetPosition(), 0);
  SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MouseAt(300, 10));
  EXPECT_EQ(slider->GetPosition(), 8);
  SendMessageW(window, WM_LBUTTONUP, 0, MouseAt(300, 10));
  SendMessageW(window, WM_MOUSEMOVE, 0, MouseAt(10, 10));  // no longer dragging
  EXPECT_EQ(slider->GetPosition(), 8);
  EXPECT_EQ(changes, 3);

  // The window's own size change places the thumb from the value.
  MoveWindow(window, 0, 0, 120, 20, TRUE);
  EXPECT_EQ(slider->Model().ThumbPos(), 104);
}

TEST_F(ControlWindows, ABarClickAsksTheOwnerForTheSegmentUnderTheMouse) {
  auto bar = CreateControl<TkoProgressBar>(FParent);
  MoveWindow(bar->Handle(), 0, 0, 200, 10, TRUE);
  bar->SetSegments({10, 45});
  std::vector<int32_t> asked;
  bool allow = true;
  bar->OnSegmentClick = [&](TkoProgressBar&, int32_t index, bool& allowed) {
    asked.push_back(index);
    allowed = allow;
  };
  SendMessageW(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MouseAt(37, 5));
  EXPECT_EQ(bar->Model().Position(), 10.0f);  // the second segment's start
  allow = false;
  SendMessageW(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MouseAt(5, 5));
  EXPECT_EQ(bar->Model().Position(), 10.0f);  // refused: the bar stays
  SendMessageW(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MouseAt(199, 5));  // past the end
  EXPECT_EQ(asked, (std::vector<int32_t>{1, 0}));
}
