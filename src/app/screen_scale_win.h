#pragma once
// The player on screens of any scale: the scale read from the window, the first
// window's size, the "Loading" text, and everything made anew when the window moves to
// a screen of another scale (WM_DPICHANGED). The awareness itself is declared in the
// manifest (per monitor, version 2, with the older system-wide flag as the fallback).
#include <windows.h>

#include "platform/gdi_holders_win.h"
#include "playback/screen_scale.h"

class TWinPlayer;

// The "Loading" text: Times New Roman 18, bold, at 16,16 of the client area.
constexpr int32_t kLoadingTextX = 16, kLoadingTextY = 16, kLoadingFontHeight = 18;

// The scale of the screen the window is on; 96 DPI when the system does not tell.
TScreenScale WindowScale(HWND window);
// The first window's size (600 x 400 at 96 DPI) at the system's scale, which is the
// primary screen's, where the window opens.
TkoSize FirstWindowSize();
TGdiObject<HFONT> CreateLoadingFont(const TScreenScale& scale);

// Everything the player sizes follows the scale: the picture's layout, the "Loading"
// font, the panel and the segment list. The main window's own layout is the caller's.
void ApplyScreenScale(TWinPlayer& player, const TScreenScale& scale);
// WM_DPICHANGED: the new scale for everything, then the window takes the rectangle the
// system suggests and lays out its children.
void OnDpiChanged(TWinPlayer& player, WPARAM wParam, const RECT& suggested);
