#pragma once
// The user's choice between the built-in Russian and English texts in the Windows
// player: View > "Язык / Language", last in View and in the context menu, remembered in
// the settings file as
// language=ru|en. Russian is the default. A film's own language table still wins for
// every key it has; the choice only picks the set under it.
#include <windows.h>

#include "session/ui_texts.h"

class TMenus;
class TWinPlayer;
class TSettingsFile;

// The language the settings file names; Russian when it names none (or cannot be read).
TUiLanguage RememberedLanguage(TSettingsFile& settings);
// Appends a separator and the submenu to View and to the context menu, with language's
// item checked.
void AddLanguageMenus(const TMenus& menus, TUiLanguage language);
// Sets the menus' texts from the player's texts: the language's built-in set first
// (builtInFirst; not needed while the menus hold the resource's own Russian), then the
// film's table over it.
void ApplyMenuTexts(TWinPlayer& player, bool builtInFirst);
// CM_LANGUAGE_RUSSIAN, CM_LANGUAGE_ENGLISH: the menus, the panel's tooltips, the segment
// list's caption and the resume offer take the language's texts at once, and the
// choice is remembered.
void ChooseLanguage(TWinPlayer& player, TUiLanguage language);
