#include "app/focus_order.h"

#include <gtest/gtest.h>

TEST(FocusOrder, TabGoesRoundAndShiftTabBack) {
  EXPECT_EQ(NextFocusIndex(4, 0, false), 1);
  EXPECT_EQ(NextFocusIndex(4, 2, false), 3);
  EXPECT_EQ(NextFocusIndex(4, 3, false), 0);
  EXPECT_EQ(NextFocusIndex(4, 3, true), 2);
  EXPECT_EQ(NextFocusIndex(4, 0, true), 3);
  EXPECT_EQ(NextFocusIndex(1, 0, false), 0);
  EXPECT_EQ(NextFocusIndex(1, 0, true), 0);
}

TEST(FocusOrder, FromOutsideTheCycleTabTakesTheFirstAndShiftTabTheLast) {
  EXPECT_EQ(NextFocusIndex(4, -1, false), 0);
  EXPECT_EQ(NextFocusIndex(4, -1, true), 3);
  EXPECT_EQ(NextFocusIndex(4, 7, false), 0);
  EXPECT_EQ(NextFocusIndex(0, -1, false), -1);
  EXPECT_EQ(NextFocusIndex(0, 0, true), -1);
}
