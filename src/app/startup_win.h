#pragma once
// The main window's creation handler and destroy handler: everything between the
// window's first message and the start of the film, and back.
#include <windows.h>

class TPlayer;

// WM_CREATE: menus and their texts, the "Loading" font, the command line and the
// placement it asks for, the start-up film (named on the command line, else the
// program's own file) loaded and its first requested segment started. A step that
// throws ends the handler there; the window stays.
void CreateMainWindowContents(TPlayer& player, HWND window);
// WM_DESTROY: playback stopped, the bitmaps released under the engine lock, the
// window forgotten by everything that draws, and the quit message posted.
void DestroyMainWindowContents(TPlayer& player);
