// Full screen, the control panel and the segment list switched on and off, and the
// menu states that show them.
#include "session/command_ids.h"
#include "app/commands_win.h"
#include "app/panel_dock_win.h"
#include "app/player_win.h"
#include "session/window_layout.h"
#include "app/bottom_panel_win.h"
#include "app/segment_list_window_win.h"

void UpdateMenuStates(TWinPlayer& player) {
  const std::optional<int32_t> count =
      player.Film.IsOpen() ? std::optional<int32_t>(player.Film.Segments().Count()) : std::nullopt;
  const TMenuStates states = ComputeMenuStates(player.Engine.State(), player.State, count);
  player.Menus.ApplyStates(states.Items);
  player.Panel.SetToggleButtons(states.FullScreenButtonPressed, states.SegmentsButtonPressed);
}

void SaveWindowPlacement(TWinPlayer& player) {
  RECT window{};
  if (player.MainWindow != nullptr) GetWindowRect(player.MainWindow, &window);
  player.State.SavedPlacement =
      SavePlacement(TkoRect{window.left, window.top, window.right, window.bottom}, player.State.ShowPanel);
}

namespace {
// The frame style changes; whether the window is shown does not. A style without
// WS_VISIBLE would hide the window until the ShowWindow that follows, and Wine unmaps
// it on the frame change: for that moment the player has no window on the screen, and
// on a busy machine a click or a key that comes then finds none.
void SetWindowStyle(HWND window, DWORD style) {
  const auto shown = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)) & WS_VISIBLE;
  SetWindowLongPtrW(window, GWL_STYLE, static_cast<LONG_PTR>(style | shown));
  SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void EnterFullScreen(TWinPlayer& player) {
  HWND window = player.MainWindow;
  SaveWindowPlacement(player);
  SetWindowStyle(window, WS_CLIPCHILDREN | WS_BORDER);
  player.Menus.DetachBar(window);
  ShowWindow(window, SW_SHOWMAXIMIZED);
  if (player.State.ShowPanel) ToggleControlPanel(player);
}

void LeaveFullScreen(TWinPlayer& player) {
  HWND window = player.MainWindow;
  SetWindowStyle(window, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN);
  player.Menus.ReattachBar(window);
  ShowWindow(window, SW_SHOWNORMAL);
  player.State.ShowPanel = player.State.SavedPlacement.ShowPanel;
  const TkoBox box = RestoredWindowBox(player.State.SavedPlacement, player.Scale);
  MoveWindow(window, box.X, box.Y, box.Width, box.Height, TRUE);
  UpdateMenuStates(player);
}
}  // namespace

void ToggleFullScreen(TWinPlayer& player) {
  if (player.MainWindow == nullptr) return;
  player.State.FullScreen = !player.State.FullScreen;
  if (player.State.FullScreen)
    EnterFullScreen(player);
  else
    LeaveFullScreen(player);
  InvalidateRect(player.MainWindow, nullptr, TRUE);
  UpdateMenuStates(player);
  LayOutChildWindows(player);
}

void SetZoom(TWinPlayer& player, TPictureZoom zoom) {
  player.State.Zoom = zoom;
  player.Presenter.SetZoom(zoom);
}

void ToggleControlPanel(TWinPlayer& player) {
  player.State.ShowPanel = !player.State.ShowPanel;
  UpdateMenuStates(player);
  LayOutChildWindows(player);
  player.Presenter.LayOut();
}

void ToggleSegmentList(TWinPlayer& player) {
  player.State.SegmentListVisible = !player.State.SegmentListVisible;
  player.Menus.ApplyStates({SegmentsCheckMark(player.State.SegmentListVisible)});
  if (player.State.SegmentListVisible && player.Film.IsOpen()) player.SegmentList.Fill();
  // Asked before the layout hides the list, which may move the focus on its own.
  HWND listBox = player.SegmentList.ListBox();
  const bool listHadFocus = listBox != nullptr && GetFocus() == listBox;
  UpdateMenuStates(player);
  LayOutChildWindows(player);
  if (player.State.SegmentListVisible) {
    if (listBox != nullptr) SetFocus(listBox);
  } else if (listHadFocus) {
    if (HWND segmentsButton = player.Panel.Button(CM_SEGMENTS)) SetFocus(segmentsButton);
  }
}
