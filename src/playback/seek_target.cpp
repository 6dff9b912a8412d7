#include "playback/seek_target.h"

#include <algorithm>
#include <cmath>

#include "film/segment_list.h"
#include "playback/cursor_overlay.h"

namespace {
// Keeps a point computed as f / F + seconds, multiplied back by F, on frame f.
constexpr double kFrameSlack = 1e-6;

// The nearest seekable segment from index on in the direction of step (+1 or -1).
int32_t Seekable(const TSegmentList& segments, int32_t index, int32_t step) {
  for (int32_t i = index; i >= 0 && i < segments.Count(); i += step)
    if (IsSeekable(segments.Get(i))) return i;
  return -1;
}

double LengthOf(const TSegmentInfo& segment) {
  return static_cast<double>(segment.FrameCount) / segment.FramesPerSecond;
}

// Where a walk starts: the frame itself in a seekable segment; otherwise the first
// frame of the next seekable segment, or the last frame of the one before.
TFilmFrame StartingPoint(const TSegmentList& segments, int32_t segment, int32_t frame) {
  if (const TSegmentInfo* info = segments.Get(segment); IsSeekable(info))
    return {segment, std::clamp(frame, 0, info->FrameCount - 1)};
  if (const int32_t next = Seekable(segments, std::max(segment, 0), +1); next >= 0) return {next, 0};
  const int32_t previous = Seekable(segments, std::min(segment, segments.Count() - 1), -1);
  if (previous < 0) return {};
  return {previous, segments.Get(previous)->FrameCount - 1};
}
}  // namespace

bool IsSeekable(const TSegmentInfo* segment) {
  return segment != nullptr && segment->Playable() && segment->FrameCount > 0;
}

int32_t FrameAtSeconds(const TSegmentInfo& segment, double seconds) {
  if (segment.FramesPerSecond == 0 || segment.FrameCount <= 0) return 0;
  const double frame = std::floor(seconds * segment.FramesPerSecond + kFrameSlack);
  return static_cast<int32_t>(std::clamp(frame, 0.0, static_cast<double>(segment.FrameCount - 1)));
}

TFilmFrame FrameAfterSeconds(const TSegmentList& segments, int32_t segment, int32_t frame, double seconds) {
  const TFilmFrame start = StartingPoint(segments, segment, frame);
  if (start.Segment < 0) return start;
  int32_t at = start.Segment;
  double time = static_cast<double>(start.Frame) / segments.Get(at)->FramesPerSecond + seconds;
  while (time < 0) {
    const int32_t previous = Seekable(segments, at - 1, -1);
    if (previous < 0) return {at, 0};
    at = previous;
    time += LengthOf(*segments.Get(at));
  }
  while (time >= LengthOf(*segments.Get(at))) {
    const int32_t next = Seekable(segments, at + 1, +1);
    if (next < 0) return {at, segments.Get(at)->FrameCount - 1};
    time -= LengthOf(*segments.Get(at));
    at = next;
  }
  return {at, FrameAtSeconds(*segments.Get(at), time)};
}

TFilmFrame FrameAfterSteps(const TSegmentList& segments, int32_t segment, int32_t frame, int32_t steps) {
  const TFilmFrame start = StartingPoint(segments, segment, frame);
  if (start.Segment < 0) return start;
  int32_t at = start.Segment;
  int64_t position = int64_t{start.Frame} + steps;
  while (position < 0) {
    const int32_t previous = Seekable(segments, at - 1, -1);
    if (previous < 0) return {at, 0};
    at = previous;
    position += segments.Get(at)->FrameCount;
  }
  while (position >= segments.Get(at)->FrameCount) {
    const int32_t next = Seekable(segments, at + 1, +1);
    if (next < 0) return {at, segments.Get(at)->FrameCount - 1};
    position -= segments.Get(at)->FrameCount;
    at = next;
  }
  return {at, static_cast<int32_t>(position)};
}

int32_t CursorTrackOffset(int32_t trackSize, int32_t sample) {
  const int64_t last = (int64_t{trackSize} / TkoCursorSample::kSize - 1) * TkoCursorSample::kSize;
  return static_cast<int32_t>(
      std::clamp<int64_t>(int64_t{sample} * TkoCursorSample::kSize, 0, std::max<int64_t>(last, 0)));
}
