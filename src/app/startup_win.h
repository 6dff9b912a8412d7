#pragma once
// The main window's creation handler, destroy handler and session end: everything
// between the window's first message and the start of the film, and back.
#include <windows.h>

class TWinPlayer;

// WM_CREATE: menus and their texts, the "Loading" font, the command line and the
// placement it asks for, the start-up film (named on the command line, else the
// program's own file) loaded and its first requested segment started. A step that
// throws ends the handler there; the window stays.
void CreateMainWindowContents(TWinPlayer& player, HWND window);
// WM_DESTROY: playback stopped, the bitmaps released under the engine lock, the
// window forgotten by everything that draws, and the quit message posted.
void DestroyMainWindowContents(TWinPlayer& player);
// WM_ENDSESSION: with ending set the session ends, and Windows ends the player after
// this message without destroying its window. The film's place is remembered, every
// unwritten setting written and a running export cancelled, each waiting only briefly
// for others, so that all of it is done within the time Windows allows.
void EndSession(TWinPlayer& player, bool ending);
