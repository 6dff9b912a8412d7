#pragma once
// The user's choice of built-in texts, as the settings, the page and kof name it, and
// what a language gives as a whole: every menu item's text, and a complete language
// table of its texts.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "session/ui_texts.h"

// "ru" and "en"; nothing for any other text.
std::optional<TUiLanguage> ParseUiLanguage(std::string_view code);
const char* UiLanguageCode(TUiLanguage language);

// Every text item of the menu bar, its drop-downs and the context menu in language, as
// the menus show them without a table: the resource's way ("Ctrl+O", "Alt+Enter", "..."
// behind the items that open a box). The Russian set is the resource's own text.
std::vector<TMenuItemText> BuiltInMenuItems(TUiLanguage language);

// View's last item, the choice of language: its title and the names of the two
// languages, each in its own language so that either reader finds the way back, with
// their access keys.
struct TLanguageMenuTexts {
  std::string Title;
  std::string Russian;
  std::string English;
};
TLanguageMenuTexts LanguageMenuTexts(TUiLanguage language);

// A language table with every key the player looks up and its built-in text in
// language, one "Key=Value" line each, ended by CR LF, in UTF-8. A key both groups use
// is written once.
std::string BuiltInLanguageTable(TUiLanguage language);
