#include "app/ui_language.h"

#include <iterator>

#include "app/fixed_texts.h"

std::optional<TUiLanguage> ParseUiLanguage(std::string_view code) {
  if (code == "ru") return TUiLanguage::kRussian;
  if (code == "en") return TUiLanguage::kEnglish;
  return std::nullopt;
}

const char* UiLanguageCode(TUiLanguage language) { return language == TUiLanguage::kEnglish ? "en" : "ru"; }

namespace {
// A menu item made of a keyed text and what follows it.
struct TBuiltInItem {
  TMenuId Menu;
  int32_t Position;
  TMenuText Text;
  const char* Suffix;
};
constexpr TBuiltInItem kBuiltInItems[] = {
    {TMenuId::kMenuBar, 0, TMenuText::kFile, ""},
    {TMenuId::kMenuBar, 1, TMenuText::kActions, ""},
    {TMenuId::kMenuBar, 2, TMenuText::kView, ""},
    {TMenuId::kMenuBar, 3, TMenuText::kHelp, ""},
    {TMenuId::kFile, 0, TMenuText::kLoad, "\bCtrl+O"},
    {TMenuId::kFile, 1, TMenuText::kProperties, "...\bF8"},
    {TMenuId::kFile, 3, TMenuText::kExit, "\bAlt+F4"},
    {TMenuId::kActions, 0, TMenuText::kPlay, "\bF9"},
    {TMenuId::kActions, 1, TMenuText::kPause, "\bF10"},
    {TMenuId::kActions, 2, TMenuText::kStop, "\bF11"},
    {TMenuId::kActions, 4, TMenuText::kSegments, "\bF6"},
    {TMenuId::kActions, 5, TMenuText::kPrev, "\bF4"},
    {TMenuId::kActions, 6, TMenuText::kNext, "\bF5"},
    {TMenuId::kActions, kActionsSavePicture, TMenuText::kSavePicture, "...\bCtrl+S"},
    {TMenuId::kActions, kActionsResume, TMenuText::kResume, "\bCtrl+R"},
    {TMenuId::kView, 0, TMenuText::kShowPanel, "\bF7"},
    {TMenuId::kView, 1, TMenuText::kFullScreen, "\bAlt+Enter"},
    {TMenuId::kHelp, 2, TMenuText::kAbout, "..."},
    {TMenuId::kContext, 0, TMenuText::kLoad, "..."},
    {TMenuId::kContext, 2, TMenuText::kPlay, ""},
    {TMenuId::kContext, 3, TMenuText::kPause, ""},
    {TMenuId::kContext, 4, TMenuText::kStop, ""},
    {TMenuId::kContext, 6, TMenuText::kSegments, ""},
    {TMenuId::kContext, 7, TMenuText::kPrev, ""},
    {TMenuId::kContext, 8, TMenuText::kNext, ""},
    {TMenuId::kContext, 10, TMenuText::kShowPanel, ""},
    {TMenuId::kContext, 11, TMenuText::kFullScreen, ""},
    {TMenuId::kContext, 14, TMenuText::kAbout, "..."},
    {TMenuId::kContext, kContextSavePicture, TMenuText::kSavePicture, "..."},
};

std::string TextOf(TMenuText text, TUiLanguage language) {
  return kMenuTexts[static_cast<size_t>(text)].In(language);
}
}  // namespace

std::vector<TMenuItemText> BuiltInMenuItems(TUiLanguage language) {
  std::vector<TMenuItemText> items;
  for (const TBuiltInItem& item : kBuiltInItems)
    items.push_back({item.Menu, item.Position, TextOf(item.Text, language) + item.Suffix});
  const TFixedTexts& fixed = FixedTexts(language);
  items.push_back({TMenuId::kHelp, 0, std::string(fixed.ContextHelp) + "\bF1"});
  items.push_back({TMenuId::kContext, 13, fixed.ContextHelp});
  items.push_back({TMenuId::kContext, 16, fixed.Close});
  const auto firstSeek = static_cast<size_t>(TMenuText::kSeekBack);
  for (int32_t i = 0; i < kSeekItemCount; ++i) {
    const std::string text = TextOf(static_cast<TMenuText>(firstSeek + static_cast<size_t>(i)), language);
    items.push_back({TMenuId::kActions, kActionsSeekItems + i, text + "\b" + kSeekShortcuts[i]});
    items.push_back({TMenuId::kContext, kContextSeekItems + i, text});
  }
  const auto firstZoom = static_cast<size_t>(TMenuText::kZoomScreenScale);
  for (int32_t i = 0; i < kZoomItemCount; ++i) {
    const std::string text = TextOf(static_cast<TMenuText>(firstZoom + static_cast<size_t>(i)), language);
    items.push_back({TMenuId::kView, kViewZoomItems + i, text + "\b" + kZoomShortcuts[i]});
    items.push_back({TMenuId::kContext, kContextZoomItems + i, text});
  }
  return items;
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
