#pragma once
// One segment's activity as kof measures it: its frame records and pointer
// track read from the unpacked film, its MP3 decoded with FFmpeg
// (sound_levels_ff.h), the model (playback/activity_model.h) run over them. kof
// activity prints it; kof export
// --skip-idle cuts the idle stretches out.
#include <cstdint>
#include <string>

#include "playback/activity_model.h"

struct TSegmentInfo;

struct SegmentActivityResult {
  TSegmentActivity activity;
  // What could not be read ("" when all could): the activity covers what could.
  std::string problem;
};

// The activity of the segment at index (from 0). A segment that cannot be
// played has none and says why in problem. Sound that cannot be decoded may be
// speech: the segment then has no idle stretches, and problem says so.
SegmentActivityResult MeasureSegmentActivity(const TSegmentInfo &segment, int32_t index,
                                             const TActivitySettings &settings);
