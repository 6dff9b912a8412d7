// The clock's Tick: one step of the picture and the pointer per timer event, the
// next event armed (shortened when the sound runs ahead), and the sound kept with
// the picture.
#include "film/ko_error.h"
#include "film/segment_list.h"
#include "playback/clock_timing.h"
#include "playback/playback_engine.h"
#include "playback/sound_sync.h"

namespace {

// Whole frames are shown at least this often while the picture trails the sound.
constexpr int32_t kLagShowEvery = 10;

}  // namespace

// An event belongs to the live chain only while the clock runs and no stop or start
// has happened since it was armed.
bool TPlaybackEngine::ChainIsLive(uint32_t token) const { return FClockRunning && token == FChainToken; }

void TPlaybackEngine::Tick(uint32_t token) {
  if (!ChainIsLive(token)) return;
  if (FResyncPending) {
    FResyncPending = false;
    if (const TSegmentInfo* segment = CurrentSegmentInfo()) ResyncSound(*segment);
  }
  TSegmentInfo* segment = CurrentSegmentInfo();
  if (segment == nullptr) return;
  ArmNextEvent(*segment);
  FFrames.RestoreCursor();
  const bool shown = FSamplesPerFrame == 1 ? TickOneSample(*segment) : TickThreeSamples(*segment);
  if (!shown) return;
  FShell.RefreshTimeText();
  if (!Advance(*segment)) return;
  ++FTickCounter;
}

void TPlaybackEngine::ArmNextEvent(TSegmentInfo& segment) {
  int32_t delay = FPeriod;
  FLag = false;
  // A device that failed to open keeps its file name but has no position: such a
  // segment counts as silent.
  const bool soundPlays = !segment.SoundFilePath.empty() && FSpeedPosition == kNormalSpeedPosition &&
                          FSound.HasFileName() && FSound.IsOpen();
  if (soundPlays && FTickCounter % FSamplesPerFrame == 0 && FCurrentFrame >= 1 && segment.FramesPerSecond != 0) {
    FSound.SetTimeFormat(TSoundDevice::kTimeFormatMilliseconds);
    const TDelayCorrection correction =
        CorrectDelay(FPeriod, segment.FramesPerSecond, FSamplesPerFrame, FSound.Position(), FCurrentFrame);
    delay = correction.Delay;
    FLag = correction.Lag;
  }
  if (!FTimer.Arm(static_cast<uint32_t>(delay), kTimerResolution, FChainToken)) throw EkoError("MMTimer = 0");
}

// One cursor sample per frame: every tick expands, lays on and shows one frame.
bool TPlaybackEngine::TickOneSample(TSegmentInfo& segment) {
  try {
    FFrames.UnpackFrame(segment);
  } catch (const EkoError& error) {
    FailPlayback(error.what());
    return false;
  }
  FFrames.ApplyDifference(segment);
  FShownFrame = FCurrentFrame;
  FFrames.ReadCursorSample(segment);
  FFrames.SaveCursorBackground();
  FFrames.DrawCursor();
  FFrames.CommitCursor();
  if (!FLag || FCurrentFrame % kLagShowEvery == 0) FPresenter.PresentWholeFrame();
  return true;
}

// Three cursor samples per frame: the pointer moves at every tick; the record read at
// m = 1 is expanded at m = 2 and laid on the picture and shown at m = 0.
bool TPlaybackEngine::TickThreeSamples(TSegmentInfo& segment) {
  const int32_t m = FTickCounter % 3;
  FFrames.ReadCursorSample(segment);
  FFrames.SaveCursorBackground();
  FFrames.DrawCursor();
  if (m != 0) FPresenter.PresentCursorArea();
  FFrames.CommitCursor();
  if (m == 2) {
    try {
      FFrames.UnpackFrame(segment);
    } catch (const EkoError& error) {
      FailPlayback(error.what());
      return false;
    }
  }
  if (m == 0) {
    FFrames.RestoreCursor();
    FFrames.ApplyDifference(segment);
    FShownFrame = FCurrentFrame;
    FFrames.SaveCursorBackground();
    FFrames.DrawCursor();
    if (!FLag || FCurrentFrame % kLagShowEvery == 0) FPresenter.PresentWholeFrame();
  }
  return true;
}

// Reads the next record at the tick that begins a frame; after the last frame posts
// Next and stops the clock. Returns false when the film was stopped by a read failure.
bool TPlaybackEngine::Advance(TSegmentInfo& segment) {
  if ((FSamplesPerFrame != 1 && FTickCounter % FSamplesPerFrame != 1) || FEndOfSegment) return true;
  if (FCurrentFrame >= segment.FrameCount - 1) {
    FEndOfSegment = true;
    FShell.PostNextCommand();
    StopClock();
    return true;
  }
  return LoadNextRecord(segment);
}

// The next frame becomes current and its record is read; a record that cannot be read
// stops the film (false).
bool TPlaybackEngine::LoadNextRecord(TSegmentInfo& segment) {
  ++FCurrentFrame;
  try {
    FFrames.LoadFrame(segment);
  } catch (const EkoError& error) {
    FailPlayback(error.what());
    return false;
  }
  return true;
}

// At normal speed the sound is sought to the sample of the current frame, in
// proportion over its whole length, and played; otherwise it waits, paused.
void TPlaybackEngine::ResyncSound(const TSegmentInfo& segment) {
  if (segment.SoundFilePath.empty() || FSpeedPosition != kNormalSpeedPosition || !FSound.IsOpen()) {
    PauseSound();
    return;
  }
  FSound.SetTimeFormat(TSoundDevice::kTimeFormatSamples);
  FSound.Seek(ResyncSamplePosition(FSound.Length(), FCurrentFrame, segment.FrameCount));
  FSound.Play();
}

void TPlaybackEngine::OpenSound(const TSegmentInfo& segment) {
  FSound.SetFileName(segment.SoundFilePath);
  if (!segment.SoundFilePath.empty()) FSound.Open();
}

void TPlaybackEngine::CloseSound() {
  if (!FSound.IsOpen()) return;
  FSound.Stop();
  FSound.Close();
}

void TPlaybackEngine::PauseSound() {
  if (FSound.IsOpen()) FSound.Pause();
}
