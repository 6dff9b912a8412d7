#include "controls/slider_model.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <tuple>
#include <utility>
#include <vector>

#include "playback/screen_scale.h"

namespace {
// A slider as the panel sets one up (width, maximum, then the value), counting events.
struct TSlider {
  TSliderModel Model;
  int Changes = 0;
  int ThumbMoves = 0;

  TSlider(int32_t width, int32_t max, int32_t position) {
    Model.Resize(width);
    Model.SetMax(max);
    Model.SetPosition(position);
    Model.OnChange = [this] { ++Changes; };
    Model.OnThumbMoved = [this] { ++ThumbMoves; };
  }
  std::pair<int32_t, int32_t> ThumbAndValue() const { return {Model.ThumbPos(), Model.Position()}; }
};
}  // namespace

TEST(SliderModel, ValueToPixelRoundsHalvesToEven) {
  // width, max, value -> thumb pixel (track range = width - 16)
  const std::tuple<int32_t, int32_t, int32_t, int32_t> cases[] = {
      {70, 8, 3, 20},  // 54 x 3 / 8 = 20.25
      {70, 8, 8, 54},   {70, 8, 0, 0},   {50, 100, 2, 1},  // 0.68
      {26, 4, 1, 2},    // 2.5 -> 2
      {26, 4, 3, 8},    // 7.5 -> 8
      {10, 100, 5, 0},  // narrower than its thumb
  };
  for (const auto& [width, max, value, pixel] : cases)
    EXPECT_EQ(TSlider(width, max, value).Model.PositionToPixels(), pixel) << width << " " << max << " " << value;
}

TEST(SliderModel, APressCentresTheThumbOnTheMouseWhichKeepsItsPixelUntilAValueIsSet) {
  TSlider speed(70, 8, 3);
  // mouse -> thumb, value; past either end the thumb holds at the track's ends.
  const std::tuple<int32_t, int32_t, int32_t> presses[] = {{35, 27, 4}, {30, 22, 3}, {-40, 0, 0}, {500, 54, 8}};
  for (const auto& [mouse, thumb, value] : presses) {
    speed.Model.MoveThumbToMouse(mouse);
    EXPECT_EQ(speed.ThumbAndValue(), std::make_pair(thumb, value)) << mouse;
  }
  EXPECT_EQ(std::make_pair(speed.Changes, speed.ThumbMoves), std::make_pair(4, 4));
  speed.Model.SetPosition(5);
  EXPECT_EQ(speed.ThumbAndValue(), std::make_pair(34, 5));
  speed.Model.SetMax(2);  // only stored
  EXPECT_EQ(speed.ThumbAndValue(), std::make_pair(34, 5));
  speed.Model.SetMax(8);
  speed.Model.Resize(120);  // 104 x 5 / 8
  EXPECT_EQ(speed.ThumbAndValue(), std::make_pair(65, 5));
}

TEST(SliderModel, EventsComeOnlyWithChangesAndAValueSettlesWhereItsPixelMapsBack) {
  TSlider volume(50, 100, 100);
  volume.Model.SetPosition(100);
  volume.Model.SetPosition(250);          // clamped to the same value
  volume.Model.MoveThumbToMouse(34 + 8);  // where the thumb already is
  EXPECT_EQ(std::make_pair(volume.Changes, volume.ThumbMoves), std::make_pair(0, 0));
  volume.Model.SetPosition(2);  // pixel 0.68 -> 1, which maps back to 2.94 -> 3
  EXPECT_EQ(volume.ThumbAndValue(), std::make_pair(1, 3));
  EXPECT_EQ(volume.Changes, 2);
  volume.Model.SetPosition(-5);
  EXPECT_EQ(volume.ThumbAndValue(), std::make_pair(0, 0));
}

TEST(SliderModel, AFailingHandlerLeavesTheThumbFollowingTheValueAgain) {
  TSlider speed(70, 8, 3);
  speed.Model.OnChange = [] { throw std::runtime_error("handler"); };
  EXPECT_THROW(speed.Model.MoveThumbToMouse(35), std::runtime_error);
  speed.Model.OnChange = nullptr;
  speed.Model.SetPosition(8);  // moves the thumb only if the guard was reset
  EXPECT_EQ(speed.Model.ThumbPos(), 54);
}

// At 200 % the speed slider is 140 wide with a 32 pixel thumb: value 3 at 108 x 3 / 8 =
// 40.5, which rounds to 40; a thumb resized on a slider places itself at its value.
TEST(SliderModel, AScaledThumbKeepsTheValuesPixels) {
  TSlider slider(140, 8, 3);
  slider.Model.SetThumbSize(32);
  EXPECT_EQ(slider.ThumbAndValue(), std::pair(40, 3));
  slider.Model.MoveThumbToMouse(140);
  EXPECT_EQ(slider.ThumbAndValue(), std::pair(108, 8));
  EXPECT_EQ(slider.Model.ThumbHeight(), 32);
}

// A window moved from screen to screen: at every scale the panel gives each slider its
// thumb, then its width (the design's 16 and 70 or 50, scaled). Every value of both
// sliders stays as it is, no change is reported, and the thumb sits on the value's
// pixel of each track; back at 96 DPI it is where it started. The old thumb turned its
// pixel back into a value: 15 % became 18 % at 200 %, 24 % fell to 0 at 300 %.
TEST(SliderModel, AScaleChangeNeverChangesTheValue) {
  const std::vector<std::vector<int32_t>> moves = {
      {192, 288, 120, 96}, {384, 96}, {288, 96}, {144, 96}, {120, 168, 240, 96}, {480, 120, 96}};
  for (const auto& [width, max] : {std::pair{70, 8}, std::pair{50, 100}}) {
    for (int32_t value = 0; value <= max; ++value) {
      TSlider slider(width, max, value);
      const auto start = slider.ThumbAndValue();
      for (const std::vector<int32_t>& dpis : moves) {
        for (const int32_t dpi : dpis) {
          const TScreenScale scale(dpi);
          slider.Model.SetThumbSize(scale.Px(TSliderModel::kThumbSize));
          slider.Model.Resize(scale.Px(width));
          ASSERT_EQ(slider.Model.Position(), start.second) << width << " wide, value " << value << " at " << dpi;
          ASSERT_EQ(slider.Model.ThumbPos(), slider.Model.PositionToPixels()) << value << " at " << dpi;
        }
        EXPECT_EQ(slider.ThumbAndValue(), start) << width << " wide, value " << value;
      }
      EXPECT_EQ(slider.Changes, 0) << width << " wide, value " << value;
    }
  }
}
