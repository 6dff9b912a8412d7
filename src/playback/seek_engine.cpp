// Seeking in the transport: any frame of any segment shown at once, and the clock,
// the pointer and the sound going on from it as if playback had reached it.
#include <algorithm>

#include "film/ko_error.h"
#include "film/segment_list.h"
#include "playback/cursor_overlay.h"
#include "playback/playback_engine.h"
#include "playback/seek_target.h"

bool TPlaybackEngine::SeekTo(int32_t index, int32_t frame) {
  TSegmentInfo* target = FSegments != nullptr ? FSegments->Get(index) : nullptr;
  if (!IsSeekable(target)) return false;
  const TPlayState resume = FState == psPlaying ? psPlaying : psPaused;
  if (FState == psStopped) {
    // As Play from the stopped state: Stop later restores what was on.
    FFullScreenAtPlay = FShell.IsFullScreen();
    FShell.SavePlacement();
  }
  StopClock();
  if (index != FCurrentSegment || FCurrentFrame < 0) {
    if (EnterSegment(index) == nullptr) return false;
    FPresenter.LayOut();
    Notify(TPlayerEvent::kSegmentStarted, index);
    ComputePeriod();
    CloseSound();
    OpenSound(*target);
    FShell.SelectSegmentLine(index);
  }
  if (!ShowFrame(*target, std::clamp(frame, 0, target->FrameCount - 1))) return false;
  if (resume == psPlaying && FEndOfSegment)
    FShell.PostNextCommand();  // the last frame reached while playing: on to the next segment
  else if (resume == psPlaying)
    StartClock();  // a new chain; its first tick seeks the sound to the frame
  SetState(resume);
  return true;
}

// Leaves the engine as the tick that shows frame leaves it: the picture with the
// pointer of sample frame x S drawn, the tick counter one further and, with one sample
// per frame, the next record read (or the end of the segment reached).
bool TPlaybackEngine::ShowFrame(TSegmentInfo& segment, int32_t frame) {
  try {
    FFrames.RestoreCursor();
    FFrames.SeekFrame(segment, frame);
  } catch (const EkoError& error) {
    FailPlayback(error.what());
    return false;
  }
  FFrames.ResetCursor();
  PlaceCursorTrack(segment, frame * FSamplesPerFrame);
  FFrames.ReadCursorSample(segment);
  FFrames.SaveCursorBackground();
  FFrames.DrawCursor();
  FFrames.CommitCursor();
  FCurrentFrame = frame;
  FShownFrame = frame;
  FTickCounter = frame * FSamplesPerFrame + 1;
  FLag = false;
  FEndOfSegment = false;
  FPresenter.PresentWholeFrame();
  FShell.RefreshTimeText();
  if (FSamplesPerFrame != 1) return true;
  if (frame >= segment.FrameCount - 1) {
    FEndOfSegment = true;
    return true;
  }
  return LoadNextRecord(segment);
}

void TPlaybackEngine::PlaceCursorTrack(TSegmentInfo& segment, int32_t sample) {
  segment.CursorTrack.SetPosition(CursorTrackOffset(segment.CursorTrack.GetSize(), sample));
}

bool TPlaybackEngine::SeekBySeconds(double seconds) {
  if (FSegments == nullptr) return false;
  const TFilmFrame target = FrameAfterSeconds(*FSegments, FCurrentSegment, std::max(FShownFrame, 0), seconds);
  return target.Segment >= 0 && SeekTo(target.Segment, target.Frame);
}

bool TPlaybackEngine::StepFrame(int32_t step) {
  if (FSegments == nullptr || FState != psPaused) return false;
  const TFilmFrame shown{FCurrentSegment, std::max(FShownFrame, 0)};
  const TFilmFrame target = FrameAfterSteps(*FSegments, shown.Segment, shown.Frame, step);
  return target.Segment >= 0 && target != shown && SeekTo(target.Segment, target.Frame);
}

bool TPlaybackEngine::SeekToSegmentStart() { return SeekTo(FCurrentSegment, 0); }

bool TPlaybackEngine::SeekToSegmentEnd() {
  const TSegmentInfo* segment = CurrentSegmentInfo();
  return segment != nullptr && SeekTo(FCurrentSegment, segment->FrameCount - 1);
}
