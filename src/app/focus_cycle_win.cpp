#include "app/focus_cycle_win.h"

#include <iterator>
#include <vector>

#include "session/focus_order.h"
#include "app/player_win.h"
#include "app/screen_search_win.h"
#include "app/segment_list_window_win.h"
#include "controls/search_bar_win.h"
#include "controls/ko_common_win.h"

namespace {
bool CanTakeFocus(HWND window) {
  return IsWindowVisible(window) && IsWindowEnabled(window) && (GetWindowLongW(window, GWL_STYLE) & WS_TABSTOP) != 0;
}

// The places of the cycle as they are now.
std::vector<HWND> FocusCycle(const TWinPlayer& player) {
  std::vector<HWND> cycle;
  const HWND list = player.SegmentList.ListBox();
  if (list != nullptr && IsWindowVisible(player.SegmentList.Window()))
    cycle.push_back(list);
  cycle.push_back(player.MainWindow);
  if (const TSearchBar* search = player.ScreenSearch.Bar.get(); search != nullptr && search->Visible())
    for (HWND control : {search->Field(), search->List()})
      if (CanTakeFocus(control)) cycle.push_back(control);
  if (const HWND panel = player.Panel.Window(); panel != nullptr && IsWindowVisible(panel))
    for (HWND child = GetWindow(panel, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
      if (CanTakeFocus(child)) cycle.push_back(child);
  return cycle;
}

// The place of window in the cycle; a window inside the segment list's pane (its close
// button) stands at the list's place. -1 when it has none.
int32_t PlaceOf(const std::vector<HWND>& cycle, const TWinPlayer& player, HWND window) {
  for (size_t i = 0; i < cycle.size(); ++i)
    if (cycle[i] == window) return static_cast<int32_t>(i);
  const HWND pane = player.SegmentList.Window();
  if (pane != nullptr && window != nullptr && IsChild(pane, window) && cycle.front() == player.SegmentList.ListBox())
    return 0;
  return -1;
}

bool IsPlainTab(const MSG& message) {
  return message.message == WM_KEYDOWN && message.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0 &&
         GetKeyState(VK_MENU) >= 0;
}
}  // namespace

void FocusLabelledControl(HWND mainWindow, WPARAM wParam, LPARAM lParam) {
  const auto label = reinterpret_cast<HWND>(wParam);
  if (LOWORD(lParam) == 0 || label == nullptr || !IsChild(mainWindow, label)) return;
  wchar_t className[16] = L"";
  GetClassNameW(label, className, static_cast<int>(std::size(className)));
  if (_wcsicmp(className, L"Static") != 0) return;
  const HWND control = GetNextDlgTabItem(mainWindow, label, FALSE);
  if (control == nullptr) return;
  SetFocus(control);
  if ((SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0) SendMessageW(control, EM_SETSEL, 0, -1);
  ShowKeyboardCues(mainWindow);
}

bool TakeTabKey(TWinPlayer& player, const MSG& message) {
  const HWND main = player.MainWindow;
  if (main == nullptr || !IsPlainTab(message)) return false;
  if (message.hwnd != main && !IsChild(main, message.hwnd)) return false;
  const std::vector<HWND> cycle = FocusCycle(player);
  const bool backward = GetKeyState(VK_SHIFT) < 0;
  const int32_t next = NextFocusIndex(static_cast<int32_t>(cycle.size()), PlaceOf(cycle, player, GetFocus()), backward);
  if (next < 0) return false;
  SetFocus(cycle[static_cast<size_t>(next)]);
  ShowKeyboardCues(main);
  return true;
}
