// The choice of skipping idle stretches: what a remembered value means, which of command
// line and settings file wins, and what the View item turns it into.
#include "session/idle_skip_choice.h"

#include <gtest/gtest.h>

TEST(IdleSkipChoice, RememberedValuesFromZeroToAnHourCountAndNothingElse) {
  const std::pair<const char*, int32_t> cases[] = {
      {"3", 3},  {"0", 0},      {"3600", 3600}, {"0012", 12}, {"3601", 0}, {"-1", 0}, {"+3", 0},
      {"x", 0},  {"3 ", 0},     {"", 0},        {"99999", 0}, {"123456789012", 0},   {"2.5", 0},
  };
  for (const auto& [text, seconds] : cases) EXPECT_EQ(ParseIdleSkipSetting(text), seconds) << '"' << text << '"';
  for (const int32_t seconds : {0, 3, 3600}) EXPECT_EQ(ParseIdleSkipSetting(IdleSkipSetting(seconds)), seconds);
}

TEST(IdleSkipChoice, TheCommandLineWinsOverTheSettingsFile) {
  EXPECT_EQ(StartingIdleSkip(std::nullopt, ""), 0);
  EXPECT_EQ(StartingIdleSkip(std::nullopt, "5"), 5);
  EXPECT_EQ(StartingIdleSkip(0, "5"), 0);
  EXPECT_EQ(StartingIdleSkip(7, "0"), 7);
  EXPECT_EQ(StartingIdleSkip(7, "damaged"), 7);
}

TEST(IdleSkipChoice, TheViewItemTurnsItOffAndOnAgainAtItsLastLength) {
  EXPECT_EQ(ToggledIdleSkip(0, 0), 3);
  EXPECT_EQ(ToggledIdleSkip(0, 10), 10);
  EXPECT_EQ(ToggledIdleSkip(10, 10), 0);
  EXPECT_EQ(ToggledIdleSkip(1, 3), 0);
}
