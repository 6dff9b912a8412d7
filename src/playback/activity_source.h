#pragma once
// A segment's frame records and pointer track, read for the activity model
// (activity_model.h). What is needed of the segment's record is copied on the thread
// that owns the record (TActivitySource::Of); the reading itself opens the data file
// anew, shared, so it may run on another thread while the segment plays.
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "playback/activity_model.h"

struct TSegmentInfo;

struct TActivitySource {
  int32_t Segment = 0;  // index in the film, from 0
  int32_t Width = 0, Height = 0;
  int32_t FrameCount = 0;
  int32_t FramesPerSecond = 0;
  int32_t SamplesPerFrame = 1;
  int32_t FirstFrameOffset = 0;
  std::filesystem::path DataFile;  // empty: the segment has no frame records
  std::vector<uint8_t> CursorTrack;

  static TActivitySource Of(const TSegmentInfo& segment, int32_t index);
};

// Fills input (all but the sound) from the source: the change of every frame record
// and the pointer samples. Returns "" or why not every record could be read (the data
// file is gone, a record is damaged or cut off): the frames from there on count as
// unchanged, as the player stops there. A record too large for the frame counts as
// unchanged too (the player steps over it). Returns "cancelled" when cancel was set.
std::string ReadActivityInput(const TActivitySource& source, TActivityInput& input,
                              const std::atomic<bool>* cancel = nullptr);
