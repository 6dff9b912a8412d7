#pragma once
// How much happens in a slice of a segment, 0 .. 1, as the activity strips of both players
// shade it: the largest of the screen's share changed, the pointer's travel and the
// sound's loudness, each counted from its least (a character typed, a small move, speech
// at the silence floor) at a quarter. 0 for a slice in an idle stretch.
#include <cstdint>

#include "playback/activity_model.h"

double SliceLevel(const TActivitySlice& slice, int64_t screenPixels, const TActivitySettings& settings = {});
