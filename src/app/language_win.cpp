#include "app/language_win.h"

#include "session/command_ids.h"
#include "controls/ko_common_win.h"
#include "app/player_win.h"
#include "app/resume_win.h"
#include "session/ui_language.h"
#include "platform/wide_text_win.h"
#include "app/bottom_panel_win.h"
#include "app/segment_list_window_win.h"

namespace {
constexpr char kLanguageKey[] = "language";

// The submenu is the last item of View and of the context menu (which stands for the
// menu bar in full screen).
constexpr TMenuId kMenusWithLanguage[] = {TMenuId::kView, TMenuId::kContext};

HMENU LanguageMenu(HMENU view) {
  const int count = GetMenuItemCount(view);
  return count > 0 ? GetSubMenu(view, count - 1) : nullptr;
}

void CheckLanguage(HMENU view, TUiLanguage language) {
  if (HMENU menu = LanguageMenu(view))
    CheckMenuRadioItem(menu, 0, 1, language == TUiLanguage::kEnglish ? 1 : 0, MF_BYPOSITION);
}

void TextLanguageMenu(HMENU view, TUiLanguage language) {
  const TLanguageMenuTexts texts = LanguageMenuTexts(language);
  const int count = GetMenuItemCount(view);
  if (count > 0) SetMenuText(view, count - 1, texts.Title);
  if (HMENU menu = LanguageMenu(view)) {
    SetMenuText(menu, 0, texts.Russian);
    SetMenuText(menu, 1, texts.English);
  }
}
}  // namespace

TUiLanguage RememberedLanguage(TSettingsFile& settings) {
  return ParseUiLanguage(settings.Read().Value(kLanguageKey)).value_or(TUiLanguage::kRussian);
}

void AddLanguageMenus(const TMenus& menus, TUiLanguage language) {
  for (TMenuId id : kMenusWithLanguage) {
    const HMENU view = menus.Menu(id);
    if (view == nullptr) continue;
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, CM_LANGUAGE_RUSSIAN, L"");
    AppendMenuW(menu, MF_STRING, CM_LANGUAGE_ENGLISH, L"");
    AppendMenuW(view, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(view, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), L"");
    TextLanguageMenu(view, language);
    CheckLanguage(view, language);
  }
}

void ApplyMenuTexts(TWinPlayer& player, bool builtInFirst) {
  if (builtInFirst) player.Menus.ApplyTexts(BuiltInMenuItems(player.Texts.Language()));
  player.Menus.ApplyTexts(player.Texts.OverlayMenuTexts(player.LanguageBlock, AnsiToUtf8));
}

void ChooseLanguage(TWinPlayer& player, TUiLanguage language) {
  player.Texts = TUiTexts(language);
  player.Texts.OverlayMessageTexts(player.LanguageBlock, AnsiToUtf8);
  ApplyMenuTexts(player, true);
  for (TMenuId id : kMenusWithLanguage) {
    TextLanguageMenu(player.Menus.Menu(id), language);
    CheckLanguage(player.Menus.Menu(id), language);
  }
  if (player.MainWindow != nullptr) DrawMenuBar(player.MainWindow);
  player.Panel.UpdateToolTips(player.Texts);
  player.SegmentList.RefreshTexts();
  RetextResumeOffer(player);
  RetextScreenSearch(player);
  player.Settings.SetValue(kLanguageKey, UiLanguageCode(language));
}
