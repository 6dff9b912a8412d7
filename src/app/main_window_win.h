#pragma once
#include <windows.h>

// The main window class "KOAPP" with the "MAINICON" icon. Returns false when the
// class cannot be registered.
bool RegisterMainWindowClass(HINSTANCE instance);
// The main window "roRezodu", 600 x 400 at 0,0, with the "KOAPP" menu; null on failure.
HWND CreateMainWindow(HINSTANCE instance);
