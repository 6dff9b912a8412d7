// The multimedia timer: one-shot events that post WM_FRAMESTEP with their token to the
// window given when they come due, and nothing once the window or the timer is gone.
// How a chain of them keeps a film's time the end-to-end clock test measures.
#include "platform/frame_timer_win.h"

#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <chrono>
#include <optional>

namespace {
using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The token of the next WM_FRAMESTEP to window within timeoutMs, or -1.
int64_t NextToken(HWND window, int timeoutMs) {
  const auto start = Clock::now();
  MSG message;
  while (MsSince(start) < timeoutMs) {
    if (PeekMessageW(&message, window, WM_FRAMESTEP, WM_FRAMESTEP, PM_REMOVE)) return int64_t(message.wParam);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_POSTMESSAGE);
  }
  return -1;
}

size_t ThreadsOfThisProcess() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  size_t count = 0;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
    count += entry.th32OwnerProcessID == GetCurrentProcessId() ? 1 : 0;
  CloseHandle(snapshot);
  return count;
}
}  // namespace

TEST(MultimediaTimer, EventsPostTheirTokensWhenDueAndNothingOnceTheWindowOrTheTimerIsGone) {
  HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  TMultimediaTimer timer;
  timer.SetWindow(window);
  auto start = Clock::now();
  ASSERT_TRUE(timer.Arm(60, 5, 7));
  ASSERT_TRUE(timer.Arm(15, 5, 0xFFFFFFF0u));
  EXPECT_EQ(NextToken(window, 2000), 0xFFFFFFF0u) << "the earlier one first, the whole token in wParam";
  EXPECT_GE(MsSince(start), 10);
  EXPECT_EQ(NextToken(window, 2000), 7);
  EXPECT_GE(MsSince(start), 50);
  EXPECT_EQ(NextToken(window, 100), -1) << "one message per event";

  // The window is read when an event comes due, not when it is armed.
  ASSERT_TRUE(timer.Arm(30, 5, 2));
  timer.SetWindow(nullptr);
  EXPECT_EQ(NextToken(window, 250), -1);
  {
    TMultimediaTimer other;
    other.SetWindow(window);
    ASSERT_TRUE(other.Arm(100, 5, 3));
  }
  EXPECT_EQ(NextToken(window, 400), -1) << "an event outliving its timer";
  DestroyWindow(window);
}

// Wine's timer service ends its thread when its last event goes, and a thread still
// ending as the program ends takes the process down (exit code 139). The thread has to
// outlive the player's timer.
TEST(MultimediaTimer, TheTimerServicesThreadOutlivesTheTimer) {
  std::optional<TMultimediaTimer> timer(std::in_place);
  ASSERT_TRUE(timer->Arm(1, 1, 1));
  Sleep(100);
  const size_t running = ThreadsOfThisProcess();
  timer.reset();
  Sleep(300);
  EXPECT_EQ(ThreadsOfThisProcess(), running);
}
