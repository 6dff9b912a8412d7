#pragma once
// Skipping idle stretches while a segment plays (activity_model.h): playback that goes
// past the start of a stretch jumps to kIdleKeptMilliseconds before its end. Only
// playback that reaches a stretch skips it: a seek or a start inside one plays it.
#include <cstdint>
#include <optional>
#include <vector>

#include "playback/activity_model.h"

// The skip lengths a user may choose, in whole seconds (0 turns skipping off): only
// stretches at least this long are skipped.
constexpr int32_t kDefaultIdleSkipSeconds = 3;
constexpr int32_t kLongestIdleSkipSeconds = 3600;

struct TIdleJump {
  int32_t Frame = 0;        // the frame to go on from
  double SkippedSeconds = 0;  // the film time stepped over
};

// Where playback that went from frame previous to frame (of a segment at
// framesPerSecond, frame k shown at k / F s) jumps: when some stretch's first frame
// (the one at or just before its start, which shows the last change) lies in
// [previous, frame) and frame is before the frame the stretch resumes at (the first at
// or after kIdleKeptMilliseconds before its end). Nothing otherwise, also for a rate
// below 1 or frames going back.
std::optional<TIdleJump> IdleJumpAt(const std::vector<TIdleStretch>& idle, int32_t framesPerSecond, int32_t previous,
                                    int32_t frame);

// The stretches of idle that are at least seconds long, in their order.
std::vector<TIdleStretch> StretchesAtLeast(const std::vector<TIdleStretch>& idle, int32_t seconds);
