#pragma once
// The About box: the modal dialog "ABOUTBOX" that draws the program's icon, name,
// version, author line and notice on white (or the high-contrast scheme's window), with
// a Close button, laid out at the scale of the screen it opens on.
#include <windows.h>

#include "controls/control_palette.h"
#include "session/ui_texts.h"

// Shows the About box owned by `owner` and returns when the user closes it (Close,
// Enter, Esc or the close box). Every opening creates its brush, pen and fonts and
// every closing deletes them. Its texts are in language, its colours the palette's.
// Returns false when the dialog could not be created.
bool ShowAboutBox(HWND owner, TUiLanguage language, const TControlPalette& palette);
