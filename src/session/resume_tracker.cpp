#include "session/resume_tracker.h"

#include <cmath>
#include <cstdio>

#include "session/command_line.h"
#include "film/segment_list.h"

namespace {
// The film's last frame that can be shown; Segment -1 when it has none.
TFilmFrame LastFrame(const TSegmentList& segments) {
  for (int32_t i = segments.Count() - 1; i >= 0; --i)
    if (const TSegmentInfo* segment = segments.Get(i); IsSeekable(segment)) return {i, segment->FrameCount - 1};
  return {};
}
}  // namespace

void TResumeTracker::Reset(int64_t nowMs) {
  FWatchedMs = 0;
  FSinceMs = nowMs;
  FPlaying = false;
  FStoppedAt.reset();
}

void TResumeTracker::PlayStateIs(TPlayState state, int64_t nowMs) {
  FWatchedMs = WatchedMs(nowMs);
  FSinceMs = nowMs;
  FPlaying = state == psPlaying;
}

int64_t TResumeTracker::WatchedMs(int64_t nowMs) const {
  return FPlaying && nowMs > FSinceMs ? FWatchedMs + (nowMs - FSinceMs) : FWatchedMs;
}

void TResumeTracker::Stopped(TFilmFrame shown) {
  if (shown.Segment >= 0 && shown.Frame >= 0) FStoppedAt = shown;
}

TResumeDecision TResumeTracker::Decide(TPlayState state, TFilmFrame shown, const TSegmentList& segments,
                                       int64_t nowMs) const {
  std::optional<TFilmFrame> place = FStoppedAt;
  if (state != psStopped && shown.Segment >= 0 && shown.Frame >= 0) place = shown;
  if (!place || !IsSeekable(segments.Get(place->Segment))) return {};
  if (*place == LastFrame(segments)) return {TResumeAction::kForget, *place};
  if (WatchedMs(nowMs) >= kResumeMinimumWatchMs) return {TResumeAction::kRemember, *place};
  return {};
}

bool IsResumablePlace(const TSegmentList& segments, TFilmFrame place) {
  const TSegmentInfo* segment = segments.Get(place.Segment);
  return IsSeekable(segment) && place.Frame >= 0 && place.Frame < segment->FrameCount;
}

bool ResumeOfferAllowed(const CommandLineOptions& options, TFilmDoor door) {
  if (options.CloseOnFinish) return false;
  return door != TFilmDoor::kStartup || !options.SegmentGiven;
}

double PlaceSeconds(const TSegmentList& segments, TFilmFrame place) {
  double seconds = 0;
  for (int32_t i = 0; i < place.Segment && i < segments.Count(); ++i)
    if (const TSegmentInfo* segment = segments.Get(i); segment != nullptr && segment->FramesPerSecond > 0)
      seconds += static_cast<double>(segment->FrameCount) / segment->FramesPerSecond;
  if (const TSegmentInfo* segment = segments.Get(place.Segment); segment != nullptr && segment->FramesPerSecond > 0)
    seconds += static_cast<double>(place.Frame) / segment->FramesPerSecond;
  return seconds;
}

std::string ClockText(double seconds) {
  const int64_t whole = seconds > 0 ? static_cast<int64_t>(std::floor(seconds)) : 0;
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(whole / 3600),
                static_cast<long long>(whole / 60 % 60), static_cast<long long>(whole % 60));
  return text;
}
