#include "app/menus_win.h"

#include <map>

#include "controls/ko_common_win.h"
#include "session/command_table.h"
#include "session/ui_language.h"
#include "platform/wide_text_win.h"

namespace {
// The commands of a menu by position; the positions between them hold separators.
std::map<int32_t, int32_t> CommandsByPosition(TMenuId menu) {
  std::map<int32_t, int32_t> commands;
  for (const TCommand& command : Commands()) {
    if (menu == TMenuId::kContext && command.Context) commands[*command.Context] = command.Id;
    if (command.Bar && command.Bar->Menu == menu) commands[command.Bar->Position] = command.Id;
  }
  return commands;
}

// A drop-down or the context menu with the built-in Russian texts, which a language or a
// film's table then changes where it has others.
HMENU BuildMenu(TMenuId menu, const std::map<std::pair<TMenuId, int32_t>, std::wstring>& texts) {
  HMENU built = CreatePopupMenu();
  int32_t position = 0;
  for (const auto& [at, command] : CommandsByPosition(menu)) {
    for (; position < at; ++position) AppendMenuW(built, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(built, MF_STRING, static_cast<UINT_PTR>(command), texts.at({menu, position++}).c_str());
  }
  return built;
}
}  // namespace

TMenus::~TMenus() {
  if (FContext != nullptr) DestroyMenu(FContext);
  if (FBar != nullptr && !FBarOnWindow) DestroyMenu(FBar);
}

HMENU TMenus::BuildBar() {
  std::map<std::pair<TMenuId, int32_t>, std::wstring> texts;
  for (const TMenuItemText& item : BuiltInMenuItems(TUiLanguage::kRussian))
    texts[{item.Menu, item.Position}] = Utf8ToWide(item.Text);
  FBar = CreateMenu();
  for (int i = 0; i < 4; ++i) {
    const TMenuId menu = static_cast<TMenuId>(i);
    FDropDowns[i] = BuildMenu(menu, texts);
    AppendMenuW(FBar, MF_POPUP, reinterpret_cast<UINT_PTR>(FDropDowns[i]), texts.at({TMenuId::kMenuBar, i}).c_str());
  }
  FContext = BuildMenu(TMenuId::kContext, texts);
  return FBar;
}

void TMenus::Attach(HWND window) {
  FBarOnWindow = GetMenu(window) == FBar;
}

void TMenus::DetachBar(HWND window) {
  SetMenu(window, nullptr);
  FBarOnWindow = false;
}

void TMenus::ReattachBar(HWND window) {
  SetMenu(window, FBar);
  FBarOnWindow = true;
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

void TMenus::ApplyStates(const std::vector<TCommandState>& items) const {
  for (const TCommandState& item : items) {
    const auto command = static_cast<UINT>(item.Command);
    for (HMENU menu : {FBar, FContext}) {
      if (menu == nullptr) continue;
      if (item.Enabled) EnableMenuItem(menu, command, MF_BYCOMMAND | (*item.Enabled ? MF_ENABLED : MF_GRAYED));
      if (item.Checked) CheckMenuItem(menu, command, MF_BYCOMMAND | (*item.Checked ? MF_CHECKED : MF_UNCHECKED));
    }
  }
}

void TMenus::ShowContextMenu(HWND owner, POINT screen) const {
  TrackPopupMenu(FContext, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, screen.x, screen.y, 0, owner, nullptr);
}

HACCEL CreateCommandAccelerators() {
  std::vector<ACCEL> keys;
  for (const TCommand& command : Commands()) {
    const TKeyChord& chord = command.Key;
    if (chord.Key == 0 || command.SystemKey) continue;
    const BYTE modifiers = (chord.Control ? FCONTROL : 0) | (chord.Alt ? FALT : 0) | (chord.Shift ? FSHIFT : 0);
    keys.push_back({static_cast<BYTE>(FVIRTKEY | modifiers), chord.Key, static_cast<WORD>(command.Id)});
  }
  return CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
}
