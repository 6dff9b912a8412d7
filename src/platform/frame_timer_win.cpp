#include "platform/frame_timer_win.h"

#include <mmsystem.h>

#include <algorithm>
#include <atomic>

namespace {
// Where due events go. Process-wide so that the callback never touches a timer object.
std::atomic<HWND> gFrameStepWindow{nullptr};

void CALLBACK PostFrameStep(UINT, UINT, DWORD_PTR token, DWORD_PTR, DWORD_PTR) {
  if (HWND window = gFrameStepWindow.load()) PostMessageW(window, WM_FRAMESTEP, token, 0);
}

// The idle timer's callback: the timer is only there to exist (see the header).
void CALLBACK KeepServiceAlive(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) {}

// Started by the first timer and left to the program's end.
void KeepServiceForTheProgram() {
  constexpr UINT kIdlePeriodMs = 1000;
  static const UINT idle =
      timeSetEvent(kIdlePeriodMs, kIdlePeriodMs, KeepServiceAlive, 0, TIME_PERIODIC | TIME_CALLBACK_FUNCTION);
  static_cast<void>(idle);
}

UINT FinestPeriod() {
  TIMECAPS caps{};
  if (timeGetDevCaps(&caps, sizeof(caps)) != MMSYSERR_NOERROR) return 1;
  return std::max<UINT>(caps.wPeriodMin, 1);
}
}  // namespace

TMultimediaTimer::TMultimediaTimer() : FPeriod(FinestPeriod()) {
  KeepServiceForTheProgram();
  if (timeBeginPeriod(FPeriod) != TIMERR_NOERROR) FPeriod = 0;
}

TMultimediaTimer::~TMultimediaTimer() {
  gFrameStepWindow.store(nullptr);
  if (FPeriod != 0) timeEndPeriod(FPeriod);
}

void TMultimediaTimer::SetWindow(HWND window) { gFrameStepWindow.store(window); }

bool TMultimediaTimer::Arm(uint32_t delayMs, uint32_t resolutionMs, uint32_t token) {
  return timeSetEvent(std::max<UINT>(delayMs, 1), resolutionMs, PostFrameStep, token,
                      TIME_ONESHOT | TIME_CALLBACK_FUNCTION) != 0;
}
