#pragma once
// Where things happen in a segment, and its idle stretches. A stretch is idle when, for
// at least the idle length (3 s unless set otherwise), no frame record changes a pixel,
// the pointer neither moves nor changes shape, and the sound stays below the silence
// floor (-45 dBFS RMS in every window) or the segment has none.
//
// Times follow the player's clock at normal speed: frame k is shown at k / F seconds,
// pointer sample i at i / (F x S) (F frames per second, S samples per frame), sound
// window w covers [w x P, w x P + L) of the sound (P its step, L its length), and the
// segment lasts frame count / F. A frame or a sample is an instant of activity; a loud
// window is activity all through. Idle stretches are the gaps between them (from the
// segment's start, to its end) of at least the idle length; the times are worked out
// in whole units of 1 / (1000 x F x S) s, so a stretch of exactly the idle length is
// found idle whatever F and S are.
//
// A pure function of a segment's data: it may run on any thread, and a cancel flag
// set meanwhile makes it return early.
#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

#include "playback/cursor_overlay.h"
#include "playback/frame_unpack.h"
#include "playback/sound_levels.h"

// What skipping an idle stretch keeps of it: playback goes on this long before the
// stretch ends, so that what follows does not come unannounced. The players and kof
// export all cut the same way.
constexpr int32_t kIdleKeptMilliseconds = 500;

struct TActivitySettings {
  int32_t IdleMilliseconds = 3000;
  // A window quieter than this is silent (one exactly at the floor is not).
  float SilenceFloorDb = -45.0f;
  // The length of the activity slices.
  int32_t SliceMilliseconds = 1000;
};

// What the model reads of one segment.
struct TActivityInput {
  int32_t Segment = 0;  // index in the film, from 0; carried into the results
  int32_t FramesPerSecond = 0;
  int32_t SamplesPerFrame = 1;  // 1 or 3
  // One per frame record, in order: the frame count is their number.
  std::vector<TkoRecordChange> Frames;
  // The pointer track; samples past frame count x S are never shown and are ignored.
  std::vector<TkoCursorSample> Pointer;
  // None: the segment has no sound, which counts as silence.
  std::optional<TSoundLevels> Sound;
  // The segment has sound that could not be decoded (Sound is then none): it may hold
  // speech, so nothing of the segment is idle.
  bool SoundUnknown = false;
};

// One slice of a segment's time, [From, To) in seconds (the last one ends with the
// segment).
struct TActivitySlice {
  double From = 0, To = 0;
  // Pixels changed by the frames shown in the slice, and the smallest rectangle holding
  // them (empty: none changed).
  int64_t ChangedPixels = 0;
  TkoRect ChangedArea;
  // How far the pointer moved (the straight steps between its samples, in pixels) and
  // how often it changed shape.
  double PointerTravel = 0;
  int32_t ShapeChanges = 0;
  // The loudest sound window starting in the slice; minus infinity when there is none
  // or the segment has no sound.
  float SoundDb = 0;
  // The whole slice lies in an idle stretch.
  bool Idle = false;
};

struct TIdleStretch {
  int32_t Segment = 0;  // from 0
  double From = 0, To = 0;  // seconds from the segment's start
};

struct TSegmentActivity {
  int32_t Segment = 0;
  double Seconds = 0;  // the segment's length; 0 without a frame rate
  bool HasSound = false;
  std::vector<TActivitySlice> Slices;
  std::vector<TIdleStretch> Idle;
  // False when the cancel flag stopped the work; the rest is then incomplete.
  bool Complete = true;
};

// The activity of the segment. A segment without a frame rate is not played, and has
// no slices and no stretches; one whose sound is unknown has slices but no stretches. Never throws but std::bad_alloc.
TSegmentActivity ComputeActivity(const TActivityInput& input, const TActivitySettings& settings = {},
                                 const std::atomic<bool>* cancel = nullptr);
