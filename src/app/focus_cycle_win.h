#pragma once
// Tab and Shift+Tab in the main window: the focus goes round the segment list (while it
// is open), the picture (the main window itself, which the dialog handling of the
// message loop never gives the focus), the field of Find on screen and its hits (while
// it is open) and the panel's controls, and the keyboard cues show from then on.
#include <windows.h>

struct TWinPlayer;

// Moves the focus for a Tab key-down inside the main window and returns true; false
// for any other message, which then takes its usual way.
bool TakeTabKey(TWinPlayer& player, const MSG& message);

// WM_NEXTDLGCTL, which the dialog handling of the message loop sends the main window for
// Alt and a label's access key (wParam the label, lParam not 0): the focus goes to the
// control the label stands before (the field of Find on screen), as in a dialog box, its
// text selected. The main window ignores the other forms (steps on, the arrows' moves),
// as it always has.
void FocusLabelledControl(HWND mainWindow, WPARAM wParam, LPARAM lParam);
