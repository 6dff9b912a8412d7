#pragma once
// The activity of the film open, for the page's strip along the progress bar and for
// skipping idle stretches, measured one segment at a time in the player's worker:
// Begin reads the segment's frame records and pointer track; the page decodes its MP3
// with Web Audio and hands the samples to AddSound; Finish runs the model.
#include <cstdint>
#include <optional>
#include <string>

#include "playback/activity_model.h"
#include "playback/activity_source.h"

class TSegmentList;

class TWebActivity {
public:
  // Starts on segment index of segments, forgetting the one before. Returns
  // {"segment":index,"sound":path,"rate":r} (path "" when the segment has no MP3 to
  // measure; r its sample rate, 0 when its headers cannot be read),
  // or {"segment":index,"skip":true} for a segment that cannot be played or drawn, or
  // {"done":true} past the last segment.
  std::string Begin(const TSegmentList& segments, int32_t index);
  // The samples of the segment's sound at rate per second, interleaved channels.
  void BeginSound(int32_t rate, int32_t channels);
  void AddSound(const float* samples, int64_t frames);
  // The segment's activity as ActivityJson gives it; "" without a segment begun. A
  // segment whose MP3 the page could not decode (no BeginSound) has no idle stretches.
  std::string Finish();
  // The segment Finish measured last (-1 before any) and its idle stretches.
  int32_t Segment() const { return FSegment; }
  const std::vector<TIdleStretch>& Idle() const { return FIdle; }

private:
  std::optional<TActivitySource> FSource;
  std::optional<TSoundLevelMeter> FMeter;
  bool FSoundExpected = false;  // the segment has an MP3 for the page to decode
  std::vector<TIdleStretch> FIdle;
  int32_t FSegment = -1;
};

// {"segment","seconds","slices":[[from,to,level],..],"idle":[[from,to],..]}.
std::string ActivityJson(const TSegmentActivity& activity, int64_t screenPixels);
