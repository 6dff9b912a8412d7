#pragma once
// The main window: class "KOAPP" and its window procedure.
#include <windows.h>

// Registers "KOAPP" (redraw on size, double clicks, the "MAINICON" icon, the arrow
// cursor, the system window colour as background, the "KOAPP" menu). Returns false
// when the class cannot be registered.
bool RegisterMainWindowClass(HINSTANCE instance);
// The main window "roRezodu", 600 x 400 at 0,0, not yet shown: its creation handler
// places and shows it, and loads and starts the film. Null on failure.
HWND CreateMainWindow(HINSTANCE instance);
