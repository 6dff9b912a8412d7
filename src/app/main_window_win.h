#pragma once
// The main window: class "KOAPP", its window procedure, and how the player's message
// loops hand it and its children their messages.
#include <windows.h>

class TWinPlayer;

// Registers "KOAPP" (redraw on size, double clicks, the "MAINICON" icon, the arrow
// cursor, the system window colour as background). Returns false
// when the class cannot be registered.
bool RegisterMainWindowClass(HINSTANCE instance);
// The main window "roRezodu" of the player, with the player's menu bar, 600 x 400 at
// 0,0, not yet shown: its creation handler places and shows it, and loads and starts
// the film. It carries the player from its first message to its last, where its
// children find it (PlayerOf). Null on failure.
HWND CreateMainWindow(TWinPlayer& player);

// One message of the player's message loop: the dialog keys (Tab between the panel's
// controls), the window procedures, then the accelerators. F10's system key-down and
// key-up reach only the accelerators: any window's default procedure would put the menu
// bar into keyboard mode on the key-up and swallow the next key. Alt alone still opens
// the menu bar. The mouse wheel goes by the window under the mouse, not the one with
// the focus (picture_input_win.h).
void ProcessPlayerMessage(TWinPlayer& player, MSG& message);
