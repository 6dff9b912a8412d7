#include "app/menus_win.h"

#include <iterator>

#include "session/command_ids.h"
#include "controls/ko_common_win.h"
#include "session/ui_language.h"
#include "platform/wide_text_win.h"

namespace {
// The context menu's commands, position by position (0 for a separator); the texts are
// the Russian built-in ones, as the resource's menus have them.
constexpr UINT kContextCommands[] = {
    CM_LOAD, 0, CM_PLAY, CM_PAUSE, CM_STOP, 0, CM_SEGMENTS, CM_PREVIOUS, CM_NEXT, 0, CM_CONTROL_PANEL,
    CM_FULL_SCREEN, 0, CM_HELP, CM_ABOUT, 0, CM_EXIT,
    // Behind the items the language table addresses (menu_items.h).
    0, CM_SEEK_BACK, CM_SEEK_FORWARD, CM_PREVIOUS_FRAME, CM_NEXT_FRAME, CM_SEGMENT_START, CM_SEGMENT_END, 0,
    CM_SAVE_PICTURE, 0, CM_ZOOM_SCREEN_SCALE, CM_ZOOM_ORIGINAL_PIXELS, CM_ZOOM_FIT_WINDOW, 0, CM_EXPORT_VIDEO};
static_assert(std::size(kContextCommands) == kContextExportVideo + 1);

HMENU BuildContextMenu() {
  std::wstring texts[std::size(kContextCommands)];
  for (const TMenuItemText& item : BuiltInMenuItems(TUiLanguage::kRussian))
    if (item.Menu == TMenuId::kContext) texts[item.Position] = Utf8ToWide(item.Text);
  HMENU menu = CreatePopupMenu();
  for (size_t i = 0; i < std::size(kContextCommands); ++i) {
    if (kContextCommands[i] == 0)
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    else
      AppendMenuW(menu, MF_STRING, kContextCommands[i], texts[i].c_str());
  }
  return menu;
}
}  // namespace

TMenus::~TMenus() {
  if (FContext != nullptr) DestroyMenu(FContext);
  if (FBarDetached) DestroyMenu(FBar);
}

void TMenus::DetachBar(HWND window) {
  SetMenu(window, nullptr);
  FBarDetached = true;
}

void TMenus::ReattachBar(HWND window) {
  SetMenu(window, FBar);
  FBarDetached = false;
}

void TMenus::Attach(HWND window) {
  FBar = GetMenu(window);
  for (int i = 0; i < 4; ++i) FDropDowns[i] = GetSubMenu(FBar, i);
  if (FContext == nullptr) FContext = BuildContextMenu();
}

HMENU TMenus::Menu(TMenuId menu) const {
  switch (menu) {
    case TMenuId::kMenuBar: return FBar;
    case TMenuId::kContext: return FContext;
    default: return FDropDowns[static_cast<int>(menu)];
  }
}

void TMenus::ApplyTexts(const std::vector<TMenuItemText>& items) const {
  for (const TMenuItemText& item : items)
    if (HMENU menu = Menu(item.Menu)) SetMenuText(menu, item.Position, item.Text);
}

void TMenus::ApplyStates(const std::vector<TMenuItemState>& items) const {
  for (const TMenuItemState& item : items) {
    HMENU menu = Menu(item.Menu);
    if (menu == nullptr) continue;
    if (item.Enabled) EnableMenuItemAt(menu, item.Position, *item.Enabled);
    if (item.Checked) CheckMenuItemAt(menu, item.Position, *item.Checked);
  }
}

void TMenus::ShowContextMenu(HWND owner, POINT screen) const {
  TrackPopupMenu(FContext, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, screen.x, screen.y, 0, owner, nullptr);
}
