// The main window's procedure: one line per message, and the trap that turns any
// failure inside a handler into the "Error in WndProc" box; and the step of the
// player's message loops.
#include "app/main_window_win.h"

#include <windowsx.h>

#include <exception>

#include "app/bar_preview_win.h"
#include "session/command_ids.h"
#include "app/bottom_panel_win.h"
#include "app/commands_win.h"
#include "app/focus_cycle_win.h"
#include "app/panel_dock_win.h"
#include "app/picture_input_win.h"
#include "app/player_win.h"
#include "app/screen_scale_win.h"
#include "app/startup_win.h"
#include "session/window_layout.h"

namespace {
constexpr wchar_t kClassName[] = L"KOAPP";

void OnSizing(const TWinPlayer& player, LPARAM lParam) {
  auto* rect = reinterpret_cast<RECT*>(lParam);
  const TkoRect sized = EnforceMinimumSize({rect->left, rect->top, rect->right, rect->bottom}, player.Scale);
  *rect = RECT{sized.Left, sized.Top, sized.Right, sized.Bottom};
}

void OnFrameStep(TWinPlayer& player, WPARAM token) {
  const int32_t segment = player.Engine.CurrentSegment(), shown = player.Engine.ShownFrame();
  player.Engine.Tick(static_cast<uint32_t>(token));
  if (player.MainWindow != nullptr) SkipIdleIfDue(player, segment, shown);
}

// High contrast turned on or off, or another colour scheme: the panes paint anew with
// the system's palette (the segment list and the notes choose it as they paint).
void OnSystemColoursChanged(TWinPlayer& player) {
  player.Panel.Recolour();
  if (HWND list = player.SegmentList.Window()) InvalidateRect(list, nullptr, TRUE);
}

// A grayed Export video item under the mouse or keys: the note tells why it is grayed.
void OnMenuSelect(TWinPlayer& player, WPARAM wParam) {
  const bool grayed = (HIWORD(wParam) & (MF_GRAYED | MF_DISABLED)) != 0 && (HIWORD(wParam) & MF_POPUP) == 0;
  if (grayed && LOWORD(wParam) == CM_EXPORT_VIDEO && !player.State.ExportAvailable) ExplainExportUnavailable(player);
}

LRESULT Dispatch(TWinPlayer& player, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: CreateMainWindowContents(player, window); return 0;
    case WM_DESTROY: DestroyMainWindowContents(player); return 0;
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION: EndSession(player, wParam != FALSE); return 0;
    case WM_SIZE: OnSize(player); return 0;
    case WM_SIZING: OnSizing(player, lParam); return 1;
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE: OnSystemColoursChanged(player); break;
    case WM_DPICHANGED: OnDpiChanged(player, wParam, *reinterpret_cast<const RECT*>(lParam)); return 0;
    case WM_PAINT:
      if (auto result = player.Presenter.Paint()) return *result;
      break;
    case WM_ERASEBKGND:
      if (auto result = player.Presenter.EraseBackground(reinterpret_cast<HDC>(wParam))) return *result;
      break;
    case WM_COMMAND: RunCommand(player, LOWORD(wParam)); return 0;
    case WM_TIMER: SlidePanel(player); return 0;
    case WM_MOUSEMOVE: ShowPanelNearBottom(player, lParam); return 0;
    case WM_LBUTTONDOWN: OnPictureClick(player); return 0;
    case WM_LBUTTONDBLCLK: OnPictureDoubleClick(player); return 0;
    case WM_KEYDOWN:
      if (OnPictureKey(player, wParam, lParam)) return 0;
      break;
    case WM_RBUTTONUP: ShowContextMenuAtCursor(player); return 0;
    case WM_CONTEXTMENU: ShowContextMenuFor(player, lParam); return 0;
    case WM_DROPFILES: DropFiles(player, reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_FRAMESTEP: OnFrameStep(player, wParam); return 0;
    case WM_SHOWBOXES: player.Boxes.ShowAll(player.MainWindow); return 0;
    case WM_PREVIEWREADY: ShowReadyPreview(player); return 0;
    case WM_ACTIVITYREADY: TakeFilmActivity(player); return 0;
    case WM_SEARCHANSWER: TakeSearchAnswer(player); return 0;
    case WM_EXPORTPROGRESS: ShowExportProgress(player, lParam); return 0;
    case WM_EXPORTENDED: FinishVideoExport(player); return 0;
    case WM_MENUSELECT: OnMenuSelect(player, wParam); break;
    case WM_NEXTDLGCTL: FocusLabelledControl(window, wParam, lParam); return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE)
    AttachPlayer(window, static_cast<TWinPlayer*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams));
  // A few messages come before WM_NCCREATE (WM_GETMINMAXINFO): nothing of the player's yet.
  TWinPlayer* player = PlayerOf(window);
  if (player == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) AttachPlayer(window, nullptr);
  try {
    return Dispatch(*player, window, message, wParam, lParam);
  } catch (...) {
    MessageBoxW(window, L"Error in WndProc", L"Error", MB_OK);
    return 0;
  }
}

// Shift+F10 and the Menu key open the context menu at the focused control. (F10 is
// Pause, and its keys never reach the windows' own default handling.)
bool TakeContextMenuKey(TWinPlayer& player, const MSG& message) {
  const bool keyDown = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
  const bool shiftF10 = message.wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0;
  if (!keyDown || (!shiftF10 && message.wParam != VK_APPS)) return false;
  if (message.hwnd != player.MainWindow && !IsChild(player.MainWindow, message.hwnd)) return false;
  ShowContextMenuFor(player, -1);
  return true;
}
}  // namespace

bool RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, L"MAINICON");
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kClassName;
  return RegisterClassExW(&windowClass) != 0;
}

HWND CreateMainWindow(TWinPlayer& player) {
  const TkoSize size = FirstWindowSize();
  const HWND window = CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"roRezodu",
                                      WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, size.Width,
                                      size.Height, nullptr, player.Menus.BuildBar(), player.Instance, &player);
  // Focus rectangles show once the keyboard is used, as in the system's dialogs.
  if (window != nullptr) SendMessageW(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, UISF_HIDEFOCUS), 0);
  return window;
}

void ProcessPlayerMessage(TWinPlayer& player, MSG& message) {
  if (TakeMouseWheel(player, message) || TakeExportBoxMessage(player, message) || TakeTabKey(player, message) ||
      TakeContextMenuKey(player, message))
    return;
  const bool menuKey = (message.message == WM_SYSKEYDOWN || message.message == WM_SYSKEYUP) && message.wParam == VK_F10;
  HWND window = player.MainWindow;
  if (!menuKey && (window == nullptr || !IsDialogMessageW(window, &message))) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  // The window may be gone now; a destroyed window takes no accelerators.
  if (player.MainWindow != nullptr) TranslateAcceleratorW(player.MainWindow, player.Accelerators, &message);
}
