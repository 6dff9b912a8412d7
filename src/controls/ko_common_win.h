#pragma once
// Window routines shared by the main window, the menus, the About box and the panels:
// menu item texts and states by position, button images and check marks, rectangles
// and fonts. Texts are UTF-8.
#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/gdi_holders_win.h"
#include "controls/ko_common.h"

// Replaces the text of the item at `position` (separators counted) with `text`, which
// becomes a plain string item. An empty text or one that begins with the backspace
// character changes nothing. When the system refuses, shows the "Debug" box
// "SetMenuText: SetMenuItemInfo error" (no owner, waits for OK) and returns.
// Returns true when the item now carries the text.
bool SetMenuText(HMENU menu, int position, const std::string& text);


// Makes picture (a panel picture, LoadScaledPicture) the button's image (BM_SETIMAGE).
// The button only shows the bitmap: the returned holder owns it and must outlive the
// button's use of it. An empty picture (one that could not be loaded) leaves the
// button's image as it is.
TGdiObject<HBITMAP> SetButtonBitmap(HWND button, TGdiObject<HBITMAP> picture);

// Sets the button's check state (BM_SETCHECK) to checked (true) or unchecked.
void SetButtonCheck(HWND button, bool checked);

// Registers the window class of one of the program's panes (arrow cursor, window
// background, double clicks, redrawn whole on resizing). Returns true when the class is
// registered, by this call or an earlier one.
bool RegisterPaneClass(HINSTANCE instance, const wchar_t* className, WNDPROC procedure);

// The box a pane's window procedure shows when a handler fails: "<pane>: WndProc error:
// Msg = <message>", owned by window, waiting for OK.
void ShowPaneError(HWND window, const char* pane, UINT message);

// The keyboard is in use: the top-level window that holds `window` and all its
// children show their focus rectangles from now on (WM_CHANGEUISTATE).
void ShowKeyboardCues(HWND window);

// The system's RECT of a rectangle (see MakeRect in ko_common.h).
RECT ToWinRect(const TkoRect& rect);

// A font of the face `face`, `height` logical units high (cell height), with the style
// bits kFontBold, kFontItalic, kFontUnderline, kFontStrikeOut. The program keeps one
// font description: the first installed font whose full name is exactly `face` is
// copied into it; when there is none, only its face name becomes `face` (the rest stays
// from the previous call) and the system substitutes its nearest face. Height, width 0,
// DEFAULT_CHARSET and the style fields are then set and the font is created from the
// description. Returns the owned font; the holder is empty when the system cannot
// create it.
TGdiObject<HFONT> CreateFontByName(const std::string& face, int32_t height, unsigned style);
