// How dark the activity strips shade a slice.
#include "playback/activity_level.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(ActivityLevel, DarkerTheMoreHappensAndBlankWhereIdle) {
  const auto level = [](int64_t pixels, double travel, float db, bool idle = false) {
    TActivitySlice slice;
    slice.From = 0, slice.To = 1;
    slice.ChangedPixels = pixels, slice.PointerTravel = travel, slice.SoundDb = db, slice.Idle = idle;
    return SliceLevel(slice, 1000 * 1000);
  };
  const float silent = -INFINITY;
  EXPECT_EQ(level(0, 0, silent), 0);
  EXPECT_EQ(level(500000, 500, -10, true), 0) << "an idle slice shows as idle only";
  EXPECT_DOUBLE_EQ(level(60, 0, silent), 0.25 + 0.75 * 60 / 250000.0) << "a character typed";
  EXPECT_LT(level(10000, 0, silent), level(100000, 0, silent));
  EXPECT_EQ(level(250000, 0, silent), 1);
  EXPECT_EQ(level(900000, 0, silent), 1);
  EXPECT_LT(level(0, 20, silent), level(0, 200, silent));
  EXPECT_EQ(level(0, 400, silent), 1);
  EXPECT_EQ(level(0, 0, -46), 0) << "below the silence floor";
  EXPECT_DOUBLE_EQ(level(0, 0, -45), 0.25);
  EXPECT_LT(level(0, 0, -40), level(0, 0, -20));
  // The largest of the three counts.
  EXPECT_DOUBLE_EQ(level(60, 200, -45), level(0, 200, silent));
}
