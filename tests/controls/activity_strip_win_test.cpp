// The progress bar paints the activity strip it is given: shades and hatching along the
// bottom of its drawing area, the rest of the bar as before, nothing for a segment not
// computed yet.
#include <windows.h>

#include <gtest/gtest.h>

#include "controls/ko_progress_bar_win.h"
#include "support/window_pixel_win.h"

namespace {
// Two 10 s segments on a bar 200 x 10 (2 + 9.8 px a second): the first busy for 5 s,
// then idle; the second as given.
std::vector<TStripSegment> Strip(bool secondKnown) {
  TStripSegment first;
  first.Known = true;
  first.Slices = {{0, 5, 1.0f}, {5, 10, 0.0f}};
  first.Idle = {{0, 5, 10}};
  TStripSegment second = first;
  second.Known = secondKnown;
  return {first, second};
}
}  // namespace

TEST(ActivityStripWin, TheBarPaintsItsStripAlongTheBottomOfItsDrawingArea) {
  const HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 300, 60, nullptr, nullptr,
                                      nullptr, nullptr);
  ASSERT_NE(parent, nullptr);
  {
    auto bar = CreateControl<TkoProgressBar>(parent);
    MoveWindow(bar->Handle(), 0, 0, 200, 10, TRUE);
    bar->SetSegments({10, 10});
    const COLORREF white = RGB(255, 255, 255), darkest = RGB(0x33, 0x33, 0x33), lines = RGB(0, 0, 0);
    EXPECT_EQ(PixelOf(bar->Handle(), 25, 6), white) << "no strip before the activity is known";

    bar->SetActivity(Strip(false));
    EXPECT_EQ(PixelOf(bar->Handle(), 25, 6), darkest) << "the busy seconds";
    EXPECT_EQ(PixelOf(bar->Handle(), 25, 4), white) << "above the strip the body";
    EXPECT_EQ(PixelOf(bar->Handle(), 25, 8), white) << "below it the margin";
    int hatchLines = 0, hatchGaps = 0;
    for (int x = 55; x < 95; ++x) (PixelOf(bar->Handle(), x, 6) == lines ? hatchLines : hatchGaps) += 1;
    EXPECT_GT(hatchLines, 5) << "the idle stretch is hatched";
    EXPECT_GT(hatchGaps, 5);
    EXPECT_EQ(PixelOf(bar->Handle(), 125, 6), white) << "the second segment is not known yet";

    bar->SetActivity(Strip(true));
    EXPECT_EQ(PixelOf(bar->Handle(), 125, 6), darkest) << "the second segment once known";
    bar->SetPosition(20);
    EXPECT_EQ(PixelOf(bar->Handle(), 25, 4), RGB(0xA0, 0xA8, 0xB8)) << "the played part above the strip";
    EXPECT_EQ(PixelOf(bar->Handle(), 25, 6), darkest) << "the strip over the played part";
  }
  DestroyWindow(parent);
}
