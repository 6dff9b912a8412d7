// The media player's flag rule and its volume arithmetic.
#include "platform/media_player_rules.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(MediaPlayerRules, CommandsWaitAndPlayNotifiesUnlessAnOverrideSaysOtherwiseOnce) {
  struct Case {
    bool play;
    std::optional<bool> wait, notify;
    uint32_t flags;
  } const cases[] = {{false, {}, {}, kMciWait},        {true, {}, {}, kMciNotify},
                     {false, false, true, kMciNotify}, {false, {}, true, kMciWait | kMciNotify},
                     {true, true, {}, kMciWait | kMciNotify}, {true, true, false, kMciWait}};
  for (const Case& c : cases) {
    TMciOverrides overrides{c.wait, c.notify};
    EXPECT_EQ(TakeCommandFlags(overrides, c.play), c.flags) << c.play;
    EXPECT_EQ(TakeCommandFlags(overrides, c.play), c.play ? kMciNotify : kMciWait) << "used up";
  }
}

TEST(MediaPlayerRules, VolumeReadsAsAPercentageAndPercentagesAreLimitedAndTruncated) {
  for (const auto& [volume, percent] : {std::pair{0u, 0.0}, {9u, 0.9}, {567u, 56.7}, {1000u, 100.0}})
    EXPECT_DOUBLE_EQ(VolumePercent(volume), percent) << volume;
  for (const auto& [percent, volume] : {std::pair{150.0, 1000u}, {-5.0, 0u}, {57.0, 570u}, {33.3, 333u},
                                        {99.99, 999u}, {std::nan(""), 0u}, {INFINITY, 1000u}})
    EXPECT_EQ(VolumeForPercent(percent), volume) << percent;
  for (uint32_t p = 0; p <= 100; ++p) EXPECT_EQ(VolumePercent(VolumeForPercent(p)), p) << "whole percentages are exact";
}
