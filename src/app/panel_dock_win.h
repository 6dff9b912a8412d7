#pragma once
// The places of the bottom panel and the segment list: laid out with the window, the
// panel shown near the bottom edge while it is switched off and slid out of view in full
// screen. A child the player does not have is left out.
#include <windows.h>

class TWinPlayer;

// WM_SIZE: the children laid out, and the picture placed anew while playing or paused.
void OnSize(TWinPlayer& player);
// After every command, size change and toggle: the segment list at the left (shown or
// hidden as SegmentListVisible says), the panel docked or hidden as ShowPanel says.
void LayOutChildWindows(TWinPlayer& player);
// WM_MOUSEMOVE while ShowPanel is off: the panel shown near the bottom edge, hidden
// (or slid out in full screen) elsewhere.
void ShowPanelNearBottom(TWinPlayer& player, LPARAM lParam);
// WM_TIMER: one step of sliding the panel out of view.
void SlidePanel(TWinPlayer& player);
