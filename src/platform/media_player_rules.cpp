#include "platform/media_player_rules.h"

uint32_t TakeCommandFlags(TMciOverrides& overrides, bool play) {
  const bool wait = overrides.Wait.value_or(!play);
  const bool notify = overrides.Notify.value_or(play);
  overrides = {};
  return (wait ? kMciWait : 0u) | (notify ? kMciNotify : 0u);
}

// Multiplied first, so whole percentages come out exact.
double VolumePercent(uint32_t volume) { return volume * 100.0 / kMaxVolume; }

uint32_t VolumeForPercent(double percent) {
  if (!(percent >= 0)) percent = 0;
  if (percent > 100) percent = 100;
  return static_cast<uint32_t>(percent * kMaxVolume / 100);
}
