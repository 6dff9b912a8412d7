#pragma once
// What kof export makes of a film: the segments it joins, which of their pictures lie
// in the time range, at what rate they follow each other, and the video's size.
//
// A segment of N frames at F frames per second with S pointer samples per frame gives
// N x S pictures at F x S per second, so the pointer moves as in the player and the
// segment lasts N / F seconds, as long as its sound.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "kof_export/export_options.h"
#include "playback/activity_model.h"

class TSegmentList;

// Pictures [first, end) of a segment that are left out of the video.
struct PictureCut {
  int32_t first = 0, end = 0;
  bool operator==(const PictureCut&) const = default;
};

struct PlannedSegment {
  int32_t number = 0;  // from 1, as kof names segments
  std::string name;    // as the film holds it: 8-bit text in the recorder's code page
  int32_t width = 0, height = 0;
  int32_t rate = 0;      // pictures per second
  int32_t pictures = 0;  // in the whole segment
  int32_t first = 0, end = 0;  // the pictures [first, end) lie in the time range
  std::filesystem::path sound;  // the segment's MP3, or empty
  std::vector<PictureCut> cuts;  // in order, apart, inside [first, end)

  // The pictures in the range that are not cut.
  int32_t Kept() const;
};

struct ExportPlan {
  std::vector<PlannedSegment> segments;  // each with at least one picture in the range
  std::vector<std::string> skipped;      // "segment 2: its frame rate is 0"
  int32_t contentWidth = 0, contentHeight = 0;  // the largest segment's size
  // The pictures are letterboxed, centred, into the canvas: the content's size, padded
  // by a black column or row to even sizes when the codec needs them and the picture is
  // not scaled.
  int32_t canvasWidth = 0, canvasHeight = 0;
  int32_t outWidth = 0, outHeight = 0;  // the video's size: the canvas, or scaled down
  int64_t timeScale = 1;                // ticks per second

  int64_t TotalPictures() const;
  bool Scaled() const { return outWidth != canvasWidth || outHeight != canvasHeight; }
  // Ticks one picture of a segment at that rate lasts.
  int64_t PictureTicks(int32_t rate) const { return (timeScale + rate / 2) / rate; }
  // Whether any planned segment has sound.
  bool HasSound() const;
};

// Whether the video codec the options choose takes only even sizes (4:2:0 chroma).
bool NeedsEvenSize(const ExportOptions& options);

// The ticks per second in which pictures of every rate last a whole number of ticks:
// the least common multiple of the rates, or 1,000,000 when that would be larger.
int64_t CommonTimeScale(const std::vector<int32_t>& rates);

// The pictures of a segment at rate pictures per second that skipping its idle
// stretches leaves out, inside [first, end): those that start after a stretch's start
// and before kIdleKeptMilliseconds before its end. The picture at the stretch's start
// shows the last change and stays. Stretches are in order, as the model gives them.
std::vector<PictureCut> IdleCuts(const std::vector<TIdleStretch>& idle, int32_t rate, int32_t first, int32_t end);

// The plan for the options. Segments that cannot be drawn are listed in skipped and
// take no time. Throws EkoError when the segment asked for is not there or cannot be
// drawn, when no segment can be drawn, or when no picture lies in the range.
ExportPlan MakeExportPlan(const TSegmentList& segments, const ExportOptions& options);
