// The screen's DPI on systems with and without the queries of Windows 10 version 1607:
// they are found by name where the system has them, and without them (or when they
// answer 0) the screen's LOGPIXELSX is the answer.
#include "platform/screen_dpi_win.h"

#include <gtest/gtest.h>

namespace {
int32_t ScreenLogPixels() {
  HDC screen = GetDC(nullptr);
  const int32_t dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

UINT WINAPI FailingForWindow(HWND) { return 0; }
UINT WINAPI FailingForSystem() { return 0; }
UINT WINAPI ForWindowAt144(HWND) { return 144; }
UINT WINAPI ForSystemAt120() { return 120; }
}  // namespace

TEST(ScreenDpi, AnOlderSystemWithoutTheQueriesGetsTheScreensLogPixels) {
  const TDpiQueries none = LoadDpiQueries(GetModuleHandleW(L"kernel32.dll"));
  EXPECT_EQ(none.ForWindow, nullptr);
  EXPECT_EQ(none.ForSystem, nullptr);
  EXPECT_EQ(WindowDpi(GetDesktopWindow(), none), ScreenLogPixels());
  EXPECT_EQ(SystemDpi(none), ScreenLogPixels());
  const TDpiQueries failing{FailingForWindow, FailingForSystem};
  EXPECT_EQ(WindowDpi(GetDesktopWindow(), failing), ScreenLogPixels());
  EXPECT_EQ(SystemDpi(failing), ScreenLogPixels());
}

TEST(ScreenDpi, TheQueriesAnswerWhereTheSystemHasThem) {
  const TDpiQueries answering{ForWindowAt144, ForSystemAt120};
  EXPECT_EQ(WindowDpi(GetDesktopWindow(), answering), 144);
  EXPECT_EQ(SystemDpi(answering), 120);
  // Wine 8, like Windows 10 from version 1607, has both in user32.
  const TDpiQueries user32 = SystemDpiQueries();
  ASSERT_NE(user32.ForWindow, nullptr);
  ASSERT_NE(user32.ForSystem, nullptr);
  EXPECT_EQ(WindowDpi(GetDesktopWindow()), static_cast<int32_t>(user32.ForWindow(GetDesktopWindow())));
}
