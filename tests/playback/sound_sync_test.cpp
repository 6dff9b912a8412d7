#include "playback/sound_sync.h"

#include <gtest/gtest.h>

TEST(SoundSync, SeekPositionIsProportionalToTheFrame) {
  EXPECT_EQ(ResyncSamplePosition(441000, 50, 100), 220500u);
  // 5 x 1 / 2 = 2.5 and 7 x 1 / 2 = 3.5: halves to even.
  EXPECT_EQ(ResyncSamplePosition(5, 1, 2), 2u);
  EXPECT_EQ(ResyncSamplePosition(7, 1, 2), 4u);
  EXPECT_EQ(ResyncSamplePosition(441000, 7, 0), 0u) << "no frames";
  EXPECT_EQ(ResyncSamplePosition(441000, -1, 100), 0u);
  EXPECT_EQ(ResyncSamplePosition(441000, 150, 100), 441000u);
  EXPECT_EQ(ResyncSamplePosition(4000000000u, 3, 4), 3000000000u);
}

TEST(SoundSync, VolumePercentages) {
  EXPECT_EQ(VolumePercentFromDevice(0, false), 100) << "no sound file";
  EXPECT_EQ(VolumePercentFromDevice(555, true), 55);
  EXPECT_EQ(DeviceVolumeFromPercent(150), 1000u);
  EXPECT_EQ(DeviceVolumeFromPercent(-5), 0u);
  // Every whole percentage survives the trip to the device and back.
  for (int32_t percent = 0; percent <= 100; ++percent)
    ASSERT_EQ(VolumePercentFromDevice(DeviceVolumeFromPercent(percent), true), percent);
}
