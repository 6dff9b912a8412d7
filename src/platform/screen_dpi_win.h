#pragma once
// The screen's dots per inch as the system reports them. GetDpiForWindow and
// GetDpiForSystem exist from Windows 10 version 1607 on: they are looked up in user32 at
// run time, so that the player also starts on older systems, which scale the whole
// desktop alike and report that scale through the screen's device context.
#include <windows.h>

#include <cstdint>

struct TDpiQueries {
  UINT(WINAPI* ForWindow)(HWND) = nullptr;
  UINT(WINAPI* ForSystem)() = nullptr;
};

// The two queries as `library` exports them; a member is null when it does not.
TDpiQueries LoadDpiQueries(HMODULE library);
// The queries of the running system's user32, looked up once.
const TDpiQueries& SystemDpiQueries();

// The DPI of the screen the window is on; without the query (or when it fails) the
// screen's LOGPIXELSX. 0 only when neither answers.
int32_t WindowDpi(HWND window, const TDpiQueries& queries = SystemDpiQueries());
// The DPI the system scales to (the primary screen's), with the same fallback.
int32_t SystemDpi(const TDpiQueries& queries = SystemDpiQueries());
