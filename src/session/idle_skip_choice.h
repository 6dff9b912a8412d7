#pragma once
// The user's choice of skipping idle stretches: the length a stretch needs to be skipped,
// in whole seconds (0: skipping is off), as the command line gives it, the settings file
// remembers it and View > Skip idle stretches turns it on and off.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The settings file's key; its value is the length, "0" while off.
extern const char kIdleSkipKey[];

// A remembered value: a decimal number 0 .. 3600 without sign or blanks; anything else
// (a damaged or later player's value) counts as off.
int32_t ParseIdleSkipSetting(std::string_view value);
std::string IdleSkipSetting(int32_t seconds);

// The length the player starts with: the command line's when it gave one, else the
// remembered one.
int32_t StartingIdleSkip(std::optional<int32_t> commandLine, std::string_view remembered);

// The length after the View item was chosen: off when on; when off, on again at the
// length it had last (the default, 3 seconds, when it never was on).
int32_t ToggledIdleSkip(int32_t now, int32_t lastOn);
