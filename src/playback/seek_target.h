#pragma once
// Where a seek lands in the film: a number of seconds or of frames away from a frame,
// walking across segment boundaries over the segments that can be played (Playable()
// with at least one frame), and clamped to the film's first and last frame. Frame f of
// a segment of rate F starts f / F seconds into it.
#include <cstdint>

class TSegmentList;
struct TSegmentInfo;

struct TFilmFrame {
  int32_t Segment = -1;  // -1: the film has no segment that can be played
  int32_t Frame = 0;
  bool operator==(const TFilmFrame&) const = default;
};

// Whether seeks can land in the segment: it can be played and has frames.
bool IsSeekable(const TSegmentInfo* segment);

// The frame whose time span holds the point seconds after (before, when negative) the
// start of frame `frame` of segment `segment`. A segment that cannot be played stands
// for the start of the next one that can (or the end of the one before).
TFilmFrame FrameAfterSeconds(const TSegmentList& segments, int32_t segment, int32_t frame, double seconds);

// The frame steps frames after (before, when negative) that frame: past a segment's last
// frame comes the next segment's first.
TFilmFrame FrameAfterSteps(const TSegmentList& segments, int32_t segment, int32_t frame, int32_t steps);

// The frame of segment shown seconds into it (the frame whose span holds that point),
// clamped to 0 .. frame count - 1; 0 for a segment without rate or frames.
int32_t FrameAtSeconds(const TSegmentInfo& segment, double seconds);

// Where the pointer track of trackSize bytes is read for sample (a frame's first sample
// is frame x samples per frame). A track shorter than the frames leaves playback on its
// last whole sample (a part sample at its end is never read); so here.
int32_t CursorTrackOffset(int32_t trackSize, int32_t sample);
