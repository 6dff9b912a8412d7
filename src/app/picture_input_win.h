#pragma once
// Keys and mouse on the picture as other players have them: Space plays and pauses
// while the picture (the main window itself) has the keyboard focus, a click gives it
// the focus, a double click toggles full screen, and the wheel changes the volume over
// the picture and the panel and seeks over the progress bar.
#include <windows.h>

class TWinPlayer;

// How much one notch of the wheel changes.
constexpr int kWheelVolumePercent = 5;

// WM_KEYDOWN of the main window: Space (not repeated) runs Pause while playing, else
// Play. Returns false for any other key.
bool OnPictureKey(TWinPlayer& player, WPARAM key, LPARAM flags);
// WM_LBUTTONDOWN of the main window: the picture takes the keyboard focus.
void OnPictureClick(TWinPlayer& player);
// WM_LBUTTONDBLCLK of the main window: the full-screen command (Alt+Enter).
void OnPictureDoubleClick(TWinPlayer& player);
// The message loop's look at every WM_MOUSEWHEEL, which the system gives the window
// with the focus: by the window under the mouse, a notch seeks 5 seconds over the
// progress bar and changes the volume by 5 % over the picture, the panel and the notes
// above it; over the segment list the list scrolls. Returns true when the message was
// taken here.
bool TakeMouseWheel(TWinPlayer& player, const MSG& message);
