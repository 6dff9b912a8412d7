#include "app/menus_win.h"

#include <iterator>

#include "app/command_ids.h"
#include "app/ko_common_win.h"
#include "app/wide_text_win.h"

namespace {
// The context menu, position by position (0 for a separator).
struct TContextItem {
  UINT Command;
  const char* Text;
};
constexpr TContextItem kContextItems[] = {
    {CM_LOAD, "Загрузить..."},      {0, nullptr},
    {CM_PLAY, "Воспроизведение"},   {CM_PAUSE, "Пауза"},
    {CM_STOP, "Стоп"},              {0, nullptr},
    {CM_SEGMENTS, "Сегменты"},      {CM_PREVIOUS, "Предыдущий"},
    {CM_NEXT, "Следующий"},         {0, nullptr},
    {CM_CONTROL_PANEL, "Панель управления"}, {CM_FULL_SCREEN, "Во весь экран"},
    {0, nullptr},                   {CM_HELP, "Справка"},
    {CM_ABOUT, "О программе..."},   {0, nullptr},
    {CM_EXIT, "Закрыть"},
    // Behind the items the language table addresses (menu_items.h).
    {0, nullptr},                   {CM_SEEK_BACK, "Назад на 5 секунд"},
    {CM_SEEK_FORWARD, "Вперёд на 5 секунд"}, {CM_PREVIOUS_FRAME, "Предыдущий кадр"},
    {CM_NEXT_FRAME, "Следующий кадр"}, {CM_SEGMENT_START, "Начало сегмента"},
    {CM_SEGMENT_END, "Конец сегмента"}, {0, nullptr},
    {CM_SAVE_PICTURE, "Сохранить кадр..."},
    {0, nullptr},                   {CM_ZOOM_SCREEN_SCALE, "Масштаб экрана"},
    {CM_ZOOM_ORIGINAL_PIXELS, "Исходные пиксели"}, {CM_ZOOM_FIT_WINDOW, "По размеру окна"},
};
static_assert(std::size(kContextItems) == kContextZoomItems + kZoomItemCount);

HMENU BuildContextMenu() {
  HMENU menu = CreatePopupMenu();
  for (const TContextItem& item : kContextItems) {
    if (item.Text == nullptr)
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    else
      AppendMenuW(menu, MF_STRING, item.Command, Utf8ToWide(item.Text).c_str());
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
