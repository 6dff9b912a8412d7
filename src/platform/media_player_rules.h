#pragma once
// The arithmetic and the flag choice of the media player (TMediaPlayer), kept apart
// from MCI so that it can be checked on any system.
#include <cstdint>
#include <optional>

// The MCI flag bits the default rule chooses between (the values of MCI_NOTIFY and
// MCI_WAIT).
constexpr uint32_t kMciNotify = 0x1;
constexpr uint32_t kMciWait = 0x2;

// One-shot overrides of the wait and notify flags, each unset until given.
struct TMciOverrides {
  std::optional<bool> Wait;
  std::optional<bool> Notify;
};

// The wait and notify bits of the next command, consuming the overrides. A command
// waits for completion unless a wait override of false was given and asks for a
// notification only when a notify override of true was given; Play (play true) is the
// opposite: it notifies unless told not to and waits only when told to.
uint32_t TakeCommandFlags(TMciOverrides& overrides, bool play);

// The device's volume range.
constexpr uint32_t kMaxVolume = 1000;

// A device volume (0 .. 1000) as a percentage: volume / 1000 x 100 (567 gives 56.7).
double VolumePercent(uint32_t volume);

// The device volume for a percentage: limited to 0 .. 100 (anything not at least 0,
// NaN included, counts as 0), then the whole part of percent x 1000 / 100.
uint32_t VolumeForPercent(double percent);
