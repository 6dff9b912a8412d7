#pragma once
// Skipping idle stretches while a segment plays (activity_model.h): playback that steps
// onto a stretch's first frame from the frame before jumps to kIdleKeptMilliseconds
// before its end. Only playback that enters a stretch skips it: a seek, a pause or the
// segment's start that lands on or inside one plays it.
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

// A stretch in the frames (or pictures) of a segment at rate per second, frame k at
// k / rate s: its first frame, the one at or just before its start (showing the last
// change, the same picture as all of the stretch), and the frame it resumes at, the
// first at or after kIdleKeptMilliseconds before its end. Skipping leaves out what lies
// between. The one rounding of the players and kof export.
struct TIdleFrames {
  int64_t First = 0;
  int64_t Resume = 0;
};
TIdleFrames IdleFramesOf(const TIdleStretch& stretch, int32_t rate);

// Where playback that went from frame previous to frame (of a segment at
// framesPerSecond) jumps: when some stretch's first frame lies in (previous, frame],
// previous being a frame shown (0 or more), and frame is before the frame the stretch
// resumes at. Nothing otherwise, also for a rate below 1 or frames going back.
std::optional<TIdleJump> IdleJumpAt(const std::vector<TIdleStretch>& idle, int32_t framesPerSecond, int32_t previous,
                                    int32_t frame);

// The stretches of idle that are at least seconds long, in their order.
std::vector<TIdleStretch> StretchesAtLeast(const std::vector<TIdleStretch>& idle, int32_t seconds);
