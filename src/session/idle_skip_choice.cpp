#include "session/idle_skip_choice.h"

#include "playback/idle_skip.h"

const char kIdleSkipKey[] = "skipidle";

int32_t ParseIdleSkipSetting(std::string_view value) {
  // Five digits are more than the longest length, and keep the sum far from overflow.
  if (value.empty() || value.size() > 5) return 0;
  int32_t seconds = 0;
  for (const char c : value) {
    if (c < '0' || c > '9') return 0;
    seconds = seconds * 10 + (c - '0');
  }
  return seconds <= kLongestIdleSkipSeconds ? seconds : 0;
}

std::string IdleSkipSetting(int32_t seconds) { return std::to_string(seconds); }

int32_t StartingIdleSkip(std::optional<int32_t> commandLine, std::string_view remembered) {
  return commandLine ? *commandLine : ParseIdleSkipSetting(remembered);
}

int32_t ToggledIdleSkip(int32_t now, int32_t lastOn) {
  if (now > 0) return 0;
  return lastOn > 0 ? lastOn : kDefaultIdleSkipSeconds;
}
