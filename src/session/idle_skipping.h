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

// Seeks past the stretch the last tick stepped onto, when skipping is on (a length of
// 1 s or more), the film plays, and the tick stayed in segmentBefore, where it went on
// from frame shownBefore; idle holds that segment's measured stretches. Returns the
// film time skipped when it sought.
std::optional<double> SkipIdleAfterTick(TPlaybackEngine& engine, const std::vector<TIdleStretch>& idle,
                                        int32_t lengthSeconds, int32_t segmentBefore, int32_t shownBefore);

// The note told after a skip, "Skipped 00:00:07": the length in whole seconds, as the
// clock counts them.
std::string IdleSkippedNote(const TUiTexts& texts, double seconds);
