#pragma once
// The About box: the modal dialog "ABOUTBOX" that draws the program's icon, name,
// version, author line and notice on white, with a Close button, laid out at the scale
// of the screen it opens on.
#include <windows.h>

#include "session/ui_texts.h"

// Shows the About box owned by `owner` and returns when the user closes it (Close,
// Enter, Esc or the close box). Every opening creates its brush, pen and fonts and
// every closing deletes them. Its texts are in language. Returns false when the dialog could not be created.
bool ShowAboutBox(HWND owner, TUiLanguage language);
