#pragma once
// Skipping idle stretches as a film plays, the one rule of both players: after a tick
// that stayed in its segment and stepped onto a stretch at least the chosen length
// long, playback seeks to just before the stretch's end (playback/idle_skip.h), and
// the player tells the user how much was left out.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "playback/activity_model.h"

class TPlaybackEngine;
class TUiTexts;

// The tick just run: the segment and frame it went on from, and whether the user drags
// along the bar meanwhile (a film scrubbed while it plays follows the mouse, not the
// stretches).
struct TTickBefore {
  int32_t Segment = -1;
  int32_t Shown = -1;
  bool Scrubbing = false;
};

// Seeks past the stretch the last tick stepped onto, when skipping is on (a length of
// 1 s or more), the film plays, the bar is not being scrubbed and the tick stayed in
// its segment; idle holds that segment's measured stretches. Returns the film time
// skipped when it sought.
std::optional<double> SkipIdleAfterTick(TPlaybackEngine& engine, const std::vector<TIdleStretch>& idle,
                                        int32_t lengthSeconds, const TTickBefore& before);

// The note told after a skip, "Skipped 00:00:07": the length in whole seconds, as the
// clock counts them.
std::string IdleSkippedNote(const TUiTexts& texts, double seconds);
