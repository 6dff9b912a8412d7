#include "session/ui_language.h"

#include "session/fixed_texts.h"

std::optional<TUiLanguage> ParseUiLanguage(std::string_view code) {
  if (code == "ru") return TUiLanguage::kRussian;
  if (code == "en") return TUiLanguage::kEnglish;
  return std::nullopt;
}

const char* UiLanguageCode(TUiLanguage language) { return language == TUiLanguage::kEnglish ? "en" : "ru"; }

std::vector<TMenuItemText> BuiltInMenuItems(TUiLanguage language) {
  const TFixedTexts& fixed = FixedTexts(language);
  return TUiTexts(language).MenuItemTexts(TMenuSuffixes::kBuiltIn, fixed.ContextHelp, fixed.Close);
}

TLanguageMenuTexts LanguageMenuTexts(TUiLanguage language) {
  // The title's key is free in View and in the context menu of its language.
  if (language == TUiLanguage::kEnglish) return {"Язык / Lang&uage", "&Русский", "&English"};
  return {"&Язык / Language", "&Русский", "&English"};
}

std::string BuiltInLanguageTable(TUiLanguage language) {
  std::vector<std::string> keys;
  std::string table;
  const auto add = [&](const std::string& key, const std::string& value) {
    for (const std::string& written : keys)
      if (written == key) return;
    keys.push_back(key);
    table += key + "=" + value + "\r\n";
  };
  for (const TTextEntry& entry : kMessageTexts) add(entry.Key, entry.In(language));
  for (const TTextEntry& entry : kMenuTexts) add(entry.Key, entry.In(language));
  add(kContextHelpKey, FixedTexts(language).ContextHelp);
  add(kCloseKey, FixedTexts(language).Close);
  return table;
}
