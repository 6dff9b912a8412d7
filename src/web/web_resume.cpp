// Resuming in the web player: the rules are the Windows player's (resume_tracker.h);
// the page keeps the places in its local storage, keyed by the file's name, size and
// last-modified time, as the player tells them.
#include "film/json_writer.h"
#include "film/segment_list.h"
#include "web/web_player.h"

namespace {
// While the film plays, the place is told at most this often.
constexpr double kResumeEventPeriodMs = 1000;
}  // namespace

void TWebPlayer::StartResume() {
  FResume.Reset(static_cast<int64_t>(FPage.NowMs()));
  FResume.PlayStateIs(FEngine->State(), static_cast<int64_t>(FPage.NowMs()));
  FOffered.reset();
  FResumeSent = {};
}

// A reload may end the page at any moment, and a hidden page gets no display frames:
// what to remember is told as the film plays (with the ticks), at once when the play
// state changes or the film closes, and when the page asks.
void TWebPlayer::SendResumeDecision(bool now) {
  if (!FFilm.IsOpen()) return;
  const double nowMs = FPage.NowMs();
  const TResumeDecision decision = FResume.Decide(FEngine->State(), {FEngine->CurrentSegment(), FEngine->ShownFrame()},
                                                  FFilm.Segments(), static_cast<int64_t>(nowMs));
  if (decision.Action == TResumeAction::kNothing || decision == FResumeSent) return;
  const bool recent = decision.Action == FResumeSent.Action && nowMs - FResumeSentMs < kResumeEventPeriodMs;
  if (!now && recent && FEngine->State() == psPlaying) return;
  FResumeSent = decision;
  FResumeSentMs = nowMs;
  TJsonWriter json;
  json.BeginObject().Key("event").String("resume");
  json.Key("action").String(decision.Action == TResumeAction::kRemember ? "remember" : "forget");
  json.Key("segment").Number(decision.Place.Segment).Key("frame").Number(decision.Place.Frame);
  FPage.Send(json.EndObject().Text());
}

void TWebPlayer::OfferPlace(int32_t segment, int32_t frame) {
  const TSegmentInfo* info = FFilm.Segments().Get(segment);
  if (!FFilm.IsOpen() || !IsSeekable(info) || frame < 0 || frame >= info->FrameCount) return;
  FOffered = TFilmFrame{segment, frame};
  TJsonWriter json;
  json.BeginObject().Key("event").String("offer");
  json.Key("text").String(
      FTexts.Format(TMessageText::kResumeOfferFmt, ClockText(PlaceSeconds(FFilm.Segments(), {segment, frame}))));
  json.Key("segment").Number(segment).Key("frame").Number(frame);
  FPage.Send(json.EndObject().Text());
}
