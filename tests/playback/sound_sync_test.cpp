#include "playback/sound_sync.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(SoundSync, SeekPositionIsProportionalToTheFrame) {
  // Halves to even: 5 x 1 / 2 = 2.5 and 7 x 1 / 2 = 3.5; no frames, before the first, past the last.
  const std::tuple<uint32_t, int32_t, int32_t, uint32_t> cases[] = {
      {441000, 50, 100, 220500}, {5, 1, 2, 2},          {7, 1, 2, 4},          {441000, 7, 0, 0},
      {441000, -1, 100, 0},      {441000, 150, 100, 441000}, {4000000000u, 3, 4, 3000000000u}};
  for (const auto& [length, frame, count, sample] : cases)
    EXPECT_EQ(ResyncSamplePosition(length, frame, count), sample) << frame << " of " << count;
}
