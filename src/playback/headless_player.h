#pragma once
// The player's engine run without a window: the clock is ticked directly, the sound
// is silent, and every whole frame the engine presents is handed to a callback, so
// kof and the web player's benchmark see exactly the pictures the player shows.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "film/segment_list.h"
#include "playback/frame_source.h"
#include "playback/playback_engine.h"

class THeadlessPlayer {
public:
  // Called for each whole frame presented, with the frame's number in its segment and
  // the picture (pointer included unless switched off). Returns false to stop.
  using FrameHandler = std::function<bool(int32_t frame, const TkoPictureView& picture)>;

  // segments must outlive the player.
  explicit THeadlessPlayer(TSegmentList& segments);
  ~THeadlessPlayer();
  THeadlessPlayer(const THeadlessPlayer&) = delete;
  THeadlessPlayer& operator=(const THeadlessPlayer&) = delete;

  // Plays segment index (which must be playable: Playable() and depth 24 or 32) from
  // its first frame until its end or until the handler says stop. Returns "" or the
  // text the player would have shown when a record could not be read.
  std::string PlaySegment(int32_t index, const FrameHandler& onFrame);

  // PlaySegment in steps, for a caller that must return between pictures (the web
  // page's export waits for its encoder): BeginSegment presents the first frame and
  // returns whether the segment started; Step ticks once and returns whether it plays
  // on; EndSegment stops it and returns what PlaySegment would.
  bool BeginSegment(int32_t index, const FrameHandler& onFrame);
  bool Step(const FrameHandler& onFrame);
  std::string EndSegment();

  // Shows frame of segment index as the player's seek does (the segment started first
  // when another one is current; the player is paused there afterwards). Returns "" or
  // the text the player would have shown.
  std::string Seek(int32_t index, int32_t frame);

  void SetCursorVisible(bool visible) { FFrames.SetCursorVisible(visible); }
  // Also hands over the pictures of the pointer's steps between frames (three samples
  // per frame), so the handler sees one picture per tick; frame is then the record
  // last loaded.
  void SetEveryTick(bool everyTick);
  // The picture as the last tick left it.
  const TkoPictureView& Picture() const { return FFrames.Picture(); }
  void SetSeekBudget(size_t bytes) { FFrames.SetSeekBudget(bytes); }
  const TkoSeekIndex& SeekIndex() const { return FFrames.SeekIndex(); }
  // The first damaged-record message of the run, or "".
  const std::string& Damage() const;
  // The same, forgotten afterwards, so the next segment's damage is seen too.
  std::string TakeDamage();

private:
  struct Services;
  TSegmentList& FSegments;
  std::unique_ptr<Services> FServices;
  TkoFrameSource FFrames;
  std::unique_ptr<TPlaybackEngine> FEngine;
};

// Why the player cannot draw the segment's pictures (no frames, a rate of 0, a colour
// depth other than 24 and 32), or "" when it can.
std::string WhyNotDrawable(const TSegmentInfo& segment);
