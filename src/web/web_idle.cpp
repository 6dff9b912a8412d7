// Skipping idle stretches in the web player: the worker measures each segment after the
// film's first picture (web_activity.h) and hands its stretches over; ticks that play
// into one seek past it, as a seek from the bar would.
#include "playback/idle_skip.h"
#include "session/idle_skip_choice.h"
#include "web/web_events.h"
#include "web/web_player.h"

void TWebPlayer::SetIdleStretches(int32_t index, std::vector<TIdleStretch> idle) {
  if (FFilm.IsOpen()) FIdle[index] = std::move(idle);
}

void TWebPlayer::SetSkipIdle(bool on) { FSkipIdle = on; }

void TWebPlayer::SkipIdle(int32_t segment, int32_t shown) {
  if (!FSkipIdle || !FFilm.IsOpen() || FEngine->State() != psPlaying || FEngine->CurrentSegment() != segment) return;
  const auto idle = FIdle.find(segment);
  const TSegmentInfo* info = FEngine->CurrentSegmentInfo();
  if (idle == FIdle.end() || info == nullptr) return;
  const auto jump = IdleJumpAt(idle->second, info->FramesPerSecond, shown, FEngine->ShownFrame());
  if (!jump || !FEngine->SeekTo(segment, jump->Frame)) return;
  FPage.Send(SkippedEvent(jump->SkippedSeconds, IdleSkippedNote(FTexts, jump->SkippedSeconds)));
}
