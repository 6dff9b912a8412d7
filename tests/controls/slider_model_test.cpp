#include "controls/slider_model.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <tuple>

namespace {
// A slider as the panel sets one up: width, maximum, then the value.
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
};
}  // namespace

TEST(SliderModel, ValueToPixelRoundsHalvesToEven) {
  // width, max, value -> thumb pixel (track range = width - 16)
  const std::tuple<int32_t, int32_t, int32_t, int32_t> cases[] = {
      {70, 8, 3, 20},     // 54 x 3 / 8 = 20.25
      {70, 8, 8, 54},     {70, 8, 0, 0},
      {50, 100, 100, 34}, {50, 100, 2, 1},  // 0.68
      {26, 4, 1, 2},      // 2.5 -> 2
      {26, 4, 3, 8},      // 7.5 -> 8
      {120, 10, 5, 52},
  };
  for (const auto& [width, max, value, pixel] : cases) {
    TSliderModel model;
    model.Resize(width);
    model.SetMax(max);
    model.SetPosition(value);
    EXPECT_EQ(model.PositionToPixels(), pixel) << width << " " << max << " " << value;
  }
  TSliderModel narrow;  // narrower than its thumb
  narrow.Resize(10);
  narrow.SetPosition(5);
  EXPECT_EQ(narrow.PositionToPixels(), 0);
}

TEST(SliderModel, PressCentresTheThumbOnTheMouseAndTakesItsValue) {
  TSlider speed(70, 8, 3);
  EXPECT_EQ(speed.Model.ThumbPos(), 20);
  speed.Model.MoveThumbToMouse(35);
  EXPECT_EQ(speed.Model.ThumbPos(), 27);
  EXPECT_EQ(speed.Model.Position(), 4);
  EXPECT_EQ(speed.Changes, 1);
  EXPECT_EQ(speed.ThumbMoves, 1);

  // The thumb stays at the mouse's pixel, not at the rounded value's; a value set
  // later snaps it.
  speed.Model.MoveThumbToMouse(30);
  EXPECT_EQ(speed.Model.ThumbPos(), 22);
  EXPECT_EQ(speed.Model.Position(), 3);
  speed.Model.SetPosition(5);
  EXPECT_EQ(speed.Model.ThumbPos(), 34);

  // Dragged past either end: the thumb holds at the track's ends, the value at 0 / max.
  speed.Model.MoveThumbToMouse(-40);
  EXPECT_EQ(std::make_pair(speed.Model.ThumbPos(), speed.Model.Position()), std::make_pair(0, 0));
  speed.Model.MoveThumbToMouse(500);
  EXPECT_EQ(std::make_pair(speed.Model.ThumbPos(), speed.Model.Position()), std::make_pair(54, 8));
}

TEST(SliderModel, AValueWhosePixelMapsBackElsewhereSettlesThereWithTwoEvents) {
  TSlider volume(50, 100, 100);
  EXPECT_EQ(volume.Model.ThumbPos(), 34);
  volume.Model.SetPosition(2);
  EXPECT_EQ(volume.Model.ThumbPos(), 1);
  EXPECT_EQ(volume.Model.Position(), 3);
  EXPECT_EQ(volume.Changes, 2);
}

TEST(SliderModel, UnchangedOrClampedToTheSameValueCallsNothing) {
  TSlider volume(50, 100, 100);
  volume.Model.SetPosition(100);
  volume.Model.SetPosition(250);
  volume.Model.MoveThumbToMouse(34 + 8);  // where the thumb already is
  EXPECT_EQ(volume.Changes, 0);
  EXPECT_EQ(volume.ThumbMoves, 0);
  volume.Model.SetPosition(-5);
  EXPECT_EQ(volume.Model.Position(), 0);
  EXPECT_EQ(volume.Changes, 1);
}

TEST(SliderModel, SetMaxOnlyStoresAndResizePlacesTheThumbAgain) {
  TSlider speed(70, 8, 4);
  speed.Model.SetMax(2);
  EXPECT_EQ(speed.Model.Position(), 4);
  EXPECT_EQ(speed.Model.ThumbPos(), 27);
  speed.Model.SetMax(8);
  speed.Model.Resize(120);
  EXPECT_EQ(speed.Model.ThumbPos(), 52);
  EXPECT_EQ(speed.Model.Position(), 4);
}

TEST(SliderModel, AFailingHandlerLeavesTheThumbFollowingTheValueAgain) {
  TSlider speed(70, 8, 3);
  speed.Model.OnChange = [] { throw std::runtime_error("handler"); };
  EXPECT_THROW(speed.Model.MoveThumbToMouse(35), std::runtime_error);
  speed.Model.OnChange = nullptr;
  speed.Model.SetPosition(8);  // moves the thumb only if the guard was reset
  EXPECT_EQ(speed.Model.ThumbPos(), 54);
}
