// The transport: segment start, Play, Pause, Stop, Previous, Next, speed changes, and
// the clock's start and stop. The Tick lives in playback_tick.cpp.
#include "playback/playback_engine.h"

#include "film/ko_error.h"
#include "film/segment_list.h"
#include "playback/clock_timing.h"

TPlaybackEngine::TPlaybackEngine(const TPlaybackServices& services)
    : FTimer(services.Timer),
      FSound(services.Sound),
      FFrames(services.Frames),
      FPresenter(services.Presenter),
      FShell(services.Shell),
      FEvents(services.Events) {}

void TPlaybackEngine::SetSegmentList(TSegmentList* segments) {
  FSegments = segments;
  FCurrentSegment = 0;
  FCurrentFrame = -1;
  FShownFrame = -1;
  FFrames.ForgetSeekIndex();
}

TSegmentInfo* TPlaybackEngine::CurrentSegmentInfo() const {
  return FSegments != nullptr ? FSegments->Get(FCurrentSegment) : nullptr;
}

int32_t TPlaybackEngine::SegmentCount() const { return FSegments != nullptr ? FSegments->Count() : 0; }

void TPlaybackEngine::Notify(TPlayerEvent event, int32_t segment) { FEvents.Notify({event, segment}); }

void TPlaybackEngine::SetState(TPlayState state) {
  if (state == FState) return;
  FState = state;
  if (state != psStopped) FShell.MoveButtonFocus(state);
  FShell.AcceptDroppedFiles(state == psStopped);
  FShell.UpdateMenuStates();
  FShell.RedrawPanel();
}

void TPlaybackEngine::StartClock() {
  PauseSound();
  FResyncPending = true;
  if (!FClockRunning) {
    ++FChainToken;
    if (!FTimer.Arm(kStartDelay, kStartResolution, FChainToken)) throw EkoError("MMTimer = 0");
  }
  FClockRunning = true;
}

// Events already armed stay armed: a Tick drops them while the clock is stopped, and
// the next start gives its chain a new token, so they stay harmless after it too.
void TPlaybackEngine::StopClock() {
  PauseSound();
  FResyncPending = true;
  FClockRunning = false;
}

void TPlaybackEngine::ComputePeriod() {
  const TSegmentInfo* segment = CurrentSegmentInfo();
  FPeriod = ::ComputePeriod(segment != nullptr ? segment->FramesPerSecond : 0, FSamplesPerFrame, FSpeedPosition);
}

void TPlaybackEngine::SelectSegment(int32_t index) {
  if (FSegments == nullptr || FSegments->Get(index) == nullptr) return;
  StopClock();
  FCurrentSegment = index;
}

// The first playable segment from index on in the direction of step (+1 or -1), or -1.
// Walking forwards, each unplayable segment is reported the first time it is passed;
// callers stop the clock first, so no tick runs behind the message.
int32_t TPlaybackEngine::FindPlayable(int32_t index, int32_t step) {
  for (int32_t i = index; i >= 0 && i < SegmentCount(); i += step) {
    TSegmentInfo* segment = FSegments->Get(i);
    if (segment == nullptr) continue;
    if (segment->Playable()) return i;
    if (step > 0 && !segment->SkipReported) {
      segment->SkipReported = true;
      std::string reason = segment->FramesPerSecond == 0 ? "FPS = 0" : segment->Problem;
      if (reason.empty()) reason = "no frames";
      FShell.ReportSkippedSegment(i, reason);
    }
  }
  return -1;
}

bool TPlaybackEngine::StartSegment(int32_t index) {
  if (index < 0 || FSegments == nullptr) return false;
  StopClock();
  const int32_t playable = FindPlayable(index, +1);
  if (playable < 0) {
    Stop();
    return false;
  }
  return StartPlayable(playable);
}

bool TPlaybackEngine::StartPlayable(int32_t index) {
  const uint32_t transportRun = ++FTransportRuns;
  TSegmentInfo* segment = EnterSegment(index);
  if (segment == nullptr) return false;
  SetState(psStopped);
  FPresenter.LayOut();
  Notify(TPlayerEvent::kSegmentStarted, index);
  FCurrentFrame = 0;
  try {
    FFrames.LoadFrame(*segment);
    if (FSamplesPerFrame != 1) FFrames.UnpackFrame(*segment);
  } catch (const EkoError& error) {
    FailPlayback(error.what());
    return false;
  }
  FEndOfSegment = false;
  ComputePeriod();
  CloseSound();
  OpenSound(*segment);
  // A failed open may show a message whose loop runs commands: a Stop or another start
  // given meanwhile stands.
  if (FTransportRuns != transportRun) return false;
  StartClock();
  SetState(psPlaying);
  FShell.SelectSegmentLine(index);
  return true;
}

// Makes index the current segment with the clock stopped, and the display, frame
// buffer, pointer and streams ready for its first frame. Null when it cannot be
// prepared.
TSegmentInfo* TPlaybackEngine::EnterSegment(int32_t index) {
  StopClock();
  SelectSegment(index);
  FCurrentFrame = -1;
  FShownFrame = -1;
  FShell.RefreshSegmentLine();
  TSegmentInfo* segment = CurrentSegmentInfo();
  if (segment == nullptr || !FFrames.PrepareDisplay(*segment)) return nullptr;
  // Preparing may show a message whose loop runs commands; give up if one of them
  // moved to another segment or film.
  if (CurrentSegmentInfo() != segment || FCurrentSegment != index) return nullptr;
  FFrames.ClearPictures();
  FFrames.ResetFrameBuffer(*segment);
  FFrames.ResetCursor();
  FSamplesPerFrame = (segment->Flags & 1) != 0 ? 3 : 1;
  segment->FrameStream->SetPosition(segment->FirstFrameOffset);
  segment->CursorTrack.SetPosition(0);
  FTickCounter = 0;
  const TScreenSize screen = FShell.ScreenSize();
  const TkoSize shown = FPresenter.ZoomedSize({segment->Width, segment->Height});
  if (shown.Width == screen.Width && shown.Height == screen.Height && !FShell.IsFullScreen())
    FShell.ToggleFullScreen();
  return segment;
}

// A record could not be read or expanded: the film stops first (sound closed, full
// screen restored, or the program closed on finish), then the failure is shown.
void TPlaybackEngine::FailPlayback(const std::string& text) {
  Stop();
  FShell.ShowError(text);
}

void TPlaybackEngine::Play() {
  if (FSegments == nullptr || FState == psPlaying || SegmentCount() == 0) return;
  if (FState == psPaused && FEndOfSegment) {
    // Paused on the last frame after a seek: playback goes on where it would have.
    Next();
    return;
  }
  if (FState == psPaused) {
    StartClock();
  } else {
    FFullScreenAtPlay = FShell.IsFullScreen();
    FShell.SavePlacement();
    if (!StartSegment(FCurrentSegment)) return;
  }
  SetState(psPlaying);
  Notify(TPlayerEvent::kPlay);
}

void TPlaybackEngine::Pause() {
  if (FSegments == nullptr || FState != psPlaying) return;
  SetState(psPaused);
  StopClock();
  // Lagging, the window was given only every tenth frame: it gets the one held now.
  if (FLag) FPresenter.PresentWholeFrame();
  Notify(TPlayerEvent::kPause);
}

void TPlaybackEngine::Stop() {
  if (FSegments == nullptr) return;
  ++FTransportRuns;
  StopClock();
  CloseSound();
  Notify(TPlayerEvent::kStop);
  if (FCloseOnFinish && !FClosing) {
    // The window's destroy handler stops again; that Stop must not destroy it twice.
    FClosing = true;
    FShell.DestroyMainWindow();
    return;
  }
  SelectSegment(0);
  SetState(psStopped);
  if (FShell.IsFullScreen() != FFullScreenAtPlay) FShell.ToggleFullScreen();
  FShell.InvalidateMainWindow();
  FCurrentFrame = -1;
  FShownFrame = -1;
  FShell.RefreshSegmentLine();
  FShell.RedrawPanel();
}

void TPlaybackEngine::StopForShutdown() {
  FClosing = true;
  Stop();
}

// Unplayable segments before the current one are passed silently: they were reported
// when first met going forwards, and a message here would interrupt a running film.
void TPlaybackEngine::Previous() {
  if (FSegments == nullptr) return;
  const int32_t target = FindPlayable(FCurrentSegment - 1, -1);
  if (target >= 0) StartSegment(target);
}

void TPlaybackEngine::Next() { StartSegment(FCurrentSegment + 1); }

void TPlaybackEngine::SpeedChanged(int32_t position) {
  FSpeedPosition = ClampSpeedPosition(position);
  FShell.RefreshTimeText();
  if (SegmentCount() == 0) return;
  ComputePeriod();
  if (FState == psPlaying)
    StartClock();
  else
    StopClock();
}
