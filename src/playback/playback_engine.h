#pragma once
// The playback clock and transport: starts segments, paces their frames with one-shot
// timer events, keeps the picture and the sound together and carries out Play, Pause,
// Stop, Previous, Next, start a given segment and speed changes. It moves from one
// segment to the next on its own and ends the film after the last one.
//
// Everything runs on the UI thread, one message at a time: a Tick runs to its end
// before any command. A timer event armed before a stop or a restart still arrives
// afterwards; its Tick does nothing.
#include <cstdint>

#include "playback/play_state.h"
#include "playback/player_events.h"
#include "playback/playback_services.h"

class TSegmentList;
struct TSegmentInfo;

struct TPlaybackServices {
  TFrameTimer& Timer;
  TSoundDevice& Sound;
  TFrameSource& Frames;
  TFramePresenter& Presenter;
  TPlaybackShell& Shell;
  TPlayerEvents& Events;
};

class TPlaybackEngine {
public:
  static constexpr int32_t kInitialPeriod = 100;
  static constexpr uint32_t kTimerResolution = 25;
  static constexpr uint32_t kStartDelay = 20;
  static constexpr uint32_t kStartResolution = 5;
  // How far the back and forward commands jump.
  static constexpr double kSeekStepSeconds = 5.0;

  explicit TPlaybackEngine(const TPlaybackServices& services);
  TPlaybackEngine(const TPlaybackEngine&) = delete;
  TPlaybackEngine& operator=(const TPlaybackEngine&) = delete;

  // --- Set-up by the shell ---------------------------------------------------------
  // The film's segments; null while no film is loaded (the transport then does
  // nothing). Does not change the state; call SelectSegment(0) after loading.
  void SetSegmentList(TSegmentList* segments);
  // From the command line: the end of the film destroys the main window.
  void SetCloseOnFinish(bool closeOnFinish) { FCloseOnFinish = closeOnFinish; }
  // The data pointer passed with every event.

  // --- Transport -------------------------------------------------------------------
  // Starts segment index from its first frame and plays it. A segment that cannot be
  // played (no frames or rate 0) is reported once and skipped for the next one.
  // Returns false, changing nothing, for a negative index or without a segment list;
  // stops the film (Stop) and returns false when no playable segment is left from
  // index on; stops and returns false when the first record cannot be read.
  // Throws EkoError("MMTimer = 0") when the timer refuses the first event.
  bool StartSegment(int32_t index);
  // Plays the current segment from the stopped state, or resumes from paused.
  void Play();
  void Pause();
  // Stops the clock, closes the sound and either destroys the main window (close on
  // finish) or selects segment 0 and waits, stopped.
  void Stop();
  // Stop for the main window's destroy handler: never destroys the window again.
  void StopForShutdown();
  // The playable segment before the current one; nothing when there is none.
  void Previous();
  // The playable segment after the current one; Stop after the last.
  void Next();
  // The speed slider moved to position (0..8, clamped).
  void SpeedChanged(int32_t position);
  // Makes index the current segment (stopping the clock); nothing when index names
  // no segment.
  void SelectSegment(int32_t index);

  // --- Seeking ---------------------------------------------------------------------
  // Shows frame (clamped to the segment's frames) of segment index and goes on from
  // there as if playback had reached it: the tick counter, the pointer sample (tick
  // frame x S), the lag and, at the next tick, the sound follow. Playing stays
  // playing, paused stays paused; from stopped the film pauses there, so that Play goes
  // on from it. Another segment than the current one is started first, as a segment
  // start does it (its segment-started event, its sound opened) but without playing it.
  // Returns false, changing nothing, without a segment list or for a segment that
  // cannot be played; stops the film and shows the failure, as playback does, and
  // returns false when a record on the way cannot be read.
  bool SeekTo(int32_t index, int32_t frame);
  // The frame seconds after (before, when negative) the one shown, across segment
  // boundaries, clamped to the film's first and last frame.
  bool SeekBySeconds(double seconds);
  // Only while paused: the frame step frames after (before) the one shown, across
  // segment boundaries. Returns false in other states and at the film's ends.
  bool StepFrame(int32_t step);
  bool SeekToSegmentStart();
  bool SeekToSegmentEnd();
  // The frame whose record was laid on the picture last; -1 before the first.
  int32_t ShownFrame() const { return FShownFrame; }

  // --- Clock -----------------------------------------------------------------------
  // One timer event carrying token has arrived. Does nothing for an event of a chain
  // the clock has stopped or replaced. Throws EkoError("MMTimer = 0") when the next
  // event cannot be armed.
  void Tick(uint32_t token);

  // --- State, read by the shell, the panel and the rendering -------------------------
  TPlayState State() const { return FState; }
  int32_t CurrentSegment() const { return FCurrentSegment; }
  // The segment record of the current index, or null.
  TSegmentInfo* CurrentSegmentInfo() const;
  // The frame record last loaded; -1 when none.
  int32_t CurrentFrame() const { return FCurrentFrame; }
  int32_t TickCounter() const { return FTickCounter; }
  int32_t SamplesPerFrame() const { return FSamplesPerFrame; }
  int32_t Period() const { return FPeriod; }
  int32_t SpeedPosition() const { return FSpeedPosition; }
  bool ClockRunning() const { return FClockRunning; }
  bool EndOfSegment() const { return FEndOfSegment; }
  bool FullScreenAtPlay() const { return FFullScreenAtPlay; }
  int32_t SegmentCount() const;

private:
  // playback_engine.cpp
  void SetState(TPlayState state);
  void StartClock();
  void StopClock();
  void ComputePeriod();
  int32_t FindPlayable(int32_t index, int32_t step);
  bool StartPlayable(int32_t index);
  TSegmentInfo* EnterSegment(int32_t index);
  // seek_engine.cpp
  bool ShowFrame(TSegmentInfo& segment, int32_t frame);
  void PlaceCursorTrack(TSegmentInfo& segment, int32_t sample);
  void Notify(TPlayerEvent event, int32_t segment = 0);
  void FailPlayback(const std::string& text);
  // playback_tick.cpp
  bool ChainIsLive(uint32_t token) const;
  void ArmNextEvent(TSegmentInfo& segment);
  bool TickOneSample(TSegmentInfo& segment);
  bool TickThreeSamples(TSegmentInfo& segment);
  bool Advance(TSegmentInfo& segment);
  bool LoadNextRecord(TSegmentInfo& segment);
  void ResyncSound(const TSegmentInfo& segment);
  void OpenSound(const TSegmentInfo& segment);
  void CloseSound();
  void PauseSound();

  TFrameTimer& FTimer;
  TSoundDevice& FSound;
  TFrameSource& FFrames;
  TFramePresenter& FPresenter;
  TPlaybackShell& FShell;
  TPlayerEvents& FEvents;
  TSegmentList* FSegments = nullptr;

  TPlayState FState = psStopped;
  int32_t FCurrentSegment = 0;
  int32_t FCurrentFrame = -1;
  int32_t FShownFrame = -1;
  int32_t FTickCounter = 0;
  int32_t FSamplesPerFrame = 1;
  int32_t FPeriod = kInitialPeriod;
  int32_t FSpeedPosition = 3;
  bool FClockRunning = false;
  // Every start of the clock begins a new chain of events; events that carry an older
  // token are dropped.
  uint32_t FChainToken = 0;
  // Counts segment starts and stops, so a start can tell that it was overtaken.
  uint32_t FTransportRuns = 0;
  bool FResyncPending = false;
  bool FEndOfSegment = false;
  bool FLag = false;
  bool FCloseOnFinish = false;
  bool FClosing = false;
  bool FFullScreenAtPlay = false;
};
