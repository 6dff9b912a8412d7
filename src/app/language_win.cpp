#include "app/language_win.h"

#include "app/command_ids.h"
#include "app/player_win.h"
#include "app/resume_win.h"
#include "app/ui_language.h"
#include "platform/wide_text_win.h"
#include "app/bottom_panel_win.h"
#include "app/segment_list_window_win.h"

namespace {
constexpr char kLanguageKey[] = "language";

// The submenu is View's last item.
HMENU LanguageMenu(HMENU view) {
  const int count = GetMenuItemCount(view);
  return count > 0 ? GetSubMenu(view, count - 1) : nullptr;
}

void CheckLanguage(HMENU view, TUiLanguage language) {
  if (HMENU menu = LanguageMenu(view))
    CheckMenuRadioItem(menu, 0, 1, language == TUiLanguage::kEnglish ? 1 : 0, MF_BYPOSITION);
}
}  // namespace

TUiLanguage RememberedLanguage(TSettingsFile& settings) {
  return ParseUiLanguage(settings.Read().Value(kLanguageKey)).value_or(TUiLanguage::kRussian);
}

void AddLanguageMenu(HMENU view, TUiLanguage language) {
  HMENU menu = CreatePopupMenu();
  // Both names in their own language, so that either reader finds the way back.
  AppendMenuW(menu, MF_STRING, CM_LANGUAGE_RUSSIAN, Utf8ToWide("Русский").c_str());
  AppendMenuW(menu, MF_STRING, CM_LANGUAGE_ENGLISH, L"English");
  AppendMenuW(view, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(view, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), Utf8ToWide("Язык / Language").c_str());
  CheckLanguage(view, language);
}

void ApplyMenuTexts(TPlayer& player, bool builtInFirst) {
  if (builtInFirst) player.Menus.ApplyTexts(BuiltInMenuItems(player.Texts.Language()));
  player.Menus.ApplyTexts(player.Texts.OverlayMenuTexts(player.LanguageBlock, AnsiToUtf8));
}

void ChooseLanguage(TPlayer& player, TUiLanguage language) {
  player.Texts = TUiTexts(language);
  player.Texts.OverlayMessageTexts(player.LanguageBlock, AnsiToUtf8);
  ApplyMenuTexts(player, true);
  CheckLanguage(player.Menus.Menu(TMenuId::kView), language);
  if (player.MainWindow != nullptr) DrawMenuBar(player.MainWindow);
  UpdateToolTips(player.Texts);
  RefreshSegmentListCaption();
  RetextResumeOffer(player);
  player.Settings.SetValue(kLanguageKey, UiLanguageCode(language));
}
