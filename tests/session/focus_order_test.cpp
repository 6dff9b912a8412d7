#include "session/focus_order.h"

#include <gtest/gtest.h>

// Tab goes round and Shift+Tab back; from outside the cycle Tab takes the first and
// Shift+Tab the last; with nothing to focus there is nothing.
TEST(FocusOrder, TabGoesRoundShiftTabBackAndFromOutsideTheCycleToItsEnds) {
  const struct {
    int32_t count, from;
    bool back;
    int32_t next;
  } cases[] = {{4, 0, false, 1},  {4, 2, false, 3}, {4, 3, false, 0}, {4, 3, true, 2},   {4, 0, true, 3},
               {1, 0, false, 0},  {1, 0, true, 0},  {4, -1, false, 0}, {4, -1, true, 3}, {4, 7, false, 0},
               {0, -1, false, -1}, {0, 0, true, -1}};
  for (const auto& c : cases)
    EXPECT_EQ(NextFocusIndex(c.count, c.from, c.back), c.next) << c.count << " " << c.from << " " << c.back;
}
