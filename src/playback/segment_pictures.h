#pragma once
// The pictures of a segment as the player shows them, one at a time: its engine draws
// them, one per tick (the pointer's steps between frames included), and the ones in
// [first, end) are handed on. Where the engine ends a segment a tick early (three
// samples per frame), the last picture is repeated, so a segment gives all its
// pictures and lasts as long as its sound. kof export and the web page's export both
// take their pictures from here.
#include <cstdint>
#include <string>

#include "playback/headless_player.h"

class TSegmentPictures {
public:
  // segments must outlive this.
  explicit TSegmentPictures(TSegmentList& segments);

  // Starts on the pictures [first, end) of segment index (from 0), which must be
  // playable and drawable.
  void Begin(int32_t index, int32_t first, int32_t end);
  // The next picture, valid until the next call; nullptr once end is reached or a
  // record could not be read (Failure() then tells why).
  const TkoPictureView* Next();
  // Why the segment ended early, or "" (known once Next returned nullptr).
  const std::string& Failure() const { return FFailure; }
  // Damaged records the engine stepped over, or "", forgotten afterwards.
  std::string TakeDamage() { return FPlayer.TakeDamage(); }

private:
  void Finish();

  THeadlessPlayer FPlayer;
  THeadlessPlayer::FrameHandler FCount;
  int32_t FTick = 0, FFirst = 0, FEnd = 0;
  int32_t FPending = 0;  // pictures the engine presented that were not handed on yet
  bool FPlaying = false;
  bool FFinished = true;
  std::string FFailure;
};
