#pragma once
// The engine's TFrameTimer on the multimedia timer: every Arm is a one-shot
// timeSetEvent whose callback, on the timer's own thread, only posts WM_FRAMESTEP to
// the main window, with the chain token as wParam. The window procedure answers it
// with TPlaybackEngine::Tick(token).
//
// Beside the chain the program holds one idle periodic event (1 s, its callback does
// nothing) until it ends. Wine's timer service ends its thread whenever no event is
// left, as a one-shot chain leaves none between one event and the next: without the
// idle event every Arm started a thread, which cost most of the player's processor
// time at x1 and capped the MAX speed. The event is never killed: its thread would then
// end as the program ends, and Wine takes a process down with a segmentation fault
// when it ends while one of its threads is still ending. On Windows the service's
// thread lives on anyway.
#include <windows.h>

#include <cstdint>

#include "playback/playback_services.h"

// Posted to the main window when a frame event is due; wParam carries the token.
constexpr UINT WM_FRAMESTEP = WM_USER + 8;
static_assert(WM_FRAMESTEP == 1032);

// One per program. The callback reaches nothing but the token it was armed with and
// one process-wide window handle, so events that come due after the timer or the
// window are gone do no harm.
class TMultimediaTimer : public TFrameTimer {
public:
  // Raises the system timer resolution to 1 ms (or the finest the system offers) for
  // the timer's lifetime, so short delays and the tick's 1 ms yield keep their length,
  // and starts the idle event once for the program (a system that refuses it only
  // costs speed under Wine).
  TMultimediaTimer();
  // Forgets the window (no more WM_FRAMESTEP is posted) and lowers the resolution.
  ~TMultimediaTimer() override;
  TMultimediaTimer(const TMultimediaTimer&) = delete;
  TMultimediaTimer& operator=(const TMultimediaTimer&) = delete;

  // The window that receives WM_FRAMESTEP; null after it is destroyed, from which on
  // due events post nothing.
  void SetWindow(HWND window);
  // Arms one event due after delayMs (at least 1) at resolutionMs. Returns false when
  // the system refuses it.
  bool Arm(uint32_t delayMs, uint32_t resolutionMs, uint32_t token) override;

private:
  UINT FPeriod = 0;
};
