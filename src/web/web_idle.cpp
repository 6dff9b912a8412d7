// Skipping idle stretches in the web player: the worker measures each segment after the
// film's first picture (web_activity.h) and hands its stretches over; ticks that play
// into one seek past it, as a seek from the bar would.
#include "playback/idle_skip.h"
#include "session/idle_skipping.h"
#include "web/web_events.h"
#include "web/web_player.h"

void TWebPlayer::SetIdleStretches(int32_t index, std::vector<TIdleStretch> idle) {
  if (FFilm.IsOpen()) FIdle[index] = std::move(idle);
}

void TWebPlayer::SetSkipIdle(bool on) { FSkipIdle = on; }

void TWebPlayer::SkipIdle(int32_t segment, int32_t shown) {
  const auto idle = FIdle.find(segment);
  if (!FFilm.IsOpen() || idle == FIdle.end()) return;
  const auto skipped =
      SkipIdleAfterTick(*FEngine, idle->second, FSkipIdle ? kDefaultIdleSkipSeconds : 0, {segment, shown, FScrubbing});
  if (skipped) FPage.Send(SkippedEvent(*skipped, IdleSkippedNote(FTexts, *skipped)));
}
