// timer_chain_win.exe [SECONDS]: how many events a second a bare chain of one-shot
// multimedia timer events gives, re-armed as the player re-arms its frame events: the
// callback posts a message, the window procedure arms the next 1 ms event at once and
// then (in the "+ Sleep(1)" rows) yields 1 ms as the player does after a tick. Each row
// runs SECONDS (3 by default) with and without one idle periodic timer (1 s, its
// callback does nothing) held meanwhile: under Wine the timer service ends its thread
// whenever no timer is left, so a chain alone starts a thread for every event.
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>

namespace {
constexpr UINT kEventDue = WM_APP + 1;

struct TChain {
  HWND Window = nullptr;
  bool SleepAfterEvent = false;
  LONGLONG End = 0;  // performance counter value after which the chain stops
  long Events = 0;
};
TChain gChain;

LONGLONG Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

void CALLBACK PostEvent(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) { PostMessageW(gChain.Window, kEventDue, 0, 0); }
void CALLBACK Idle(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) {}

bool ArmNext() { return timeSetEvent(1, 1, PostEvent, 0, TIME_ONESHOT | TIME_CALLBACK_FUNCTION) != 0; }

LRESULT CALLBACK ChainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kEventDue) return DefWindowProcW(window, message, wParam, lParam);
  ++gChain.Events;
  if (Now() >= gChain.End || !ArmNext()) {
    PostQuitMessage(0);
    return 0;
  }
  if (gChain.SleepAfterEvent) Sleep(1);
  return 0;
}

// Events a second of one chain run for seconds.
double RunChain(double seconds, bool sleepAfterEvent, bool idleTimer) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  const UINT idle = idleTimer ? timeSetEvent(1000, 1000, Idle, 0, TIME_PERIODIC | TIME_CALLBACK_FUNCTION) : 0;
  gChain.SleepAfterEvent = sleepAfterEvent;
  gChain.Events = 0;
  const LONGLONG start = Now();
  gChain.End = start + LONGLONG(seconds * double(frequency.QuadPart));
  if (!ArmNext()) return 0;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  const double elapsed = double(Now() - start) / double(frequency.QuadPart);
  if (idle != 0) timeKillEvent(idle);
  return double(gChain.Events) / elapsed;
}
}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 3.0;
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = ChainProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"TimerChain";
  RegisterClassW(&windowClass);
  gChain.Window = CreateWindowExW(0, L"TimerChain", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  if (gChain.Window == nullptr || timeBeginPeriod(1) != TIMERR_NOERROR) return 1;
  for (const bool sleepAfterEvent : {false, true})
    for (const bool idleTimer : {false, true})
      std::printf("  1 ms chain%s%s: %.0f events/s\n", sleepAfterEvent ? " + Sleep(1)" : "",
                  idleTimer ? ", idle timer held" : "", RunChain(seconds, sleepAfterEvent, idleTimer));
  timeEndPeriod(1);
  DestroyWindow(gChain.Window);
  return 0;
}
