#include "session/idle_skipping.h"

#include "film/segment_list.h"
#include "playback/idle_skip.h"
#include "playback/playback_engine.h"
#include "session/resume_tracker.h"
#include "session/ui_texts.h"

std::optional<double> SkipIdleAfterTick(TPlaybackEngine& engine, const std::vector<TIdleStretch>& idle,
                                        int32_t lengthSeconds, const TTickBefore& before) {
  if (lengthSeconds <= 0 || before.Scrubbing) return std::nullopt;
  if (engine.State() != psPlaying || engine.CurrentSegment() != before.Segment) return std::nullopt;
  const TSegmentInfo* segment = engine.CurrentSegmentInfo();
  if (segment == nullptr) return std::nullopt;
  const auto jump = IdleJumpAt(StretchesAtLeast(idle, lengthSeconds), segment->FramesPerSecond, before.Shown,
                               engine.ShownFrame());
  if (!jump || !engine.SeekTo(before.Segment, jump->Frame)) return std::nullopt;
  return jump->SkippedSeconds;
}

std::string IdleSkippedNote(const TUiTexts& texts, double seconds) {
  return texts.Format(TMessageText::kIdleSkippedFmt, ClockText(seconds));
}
