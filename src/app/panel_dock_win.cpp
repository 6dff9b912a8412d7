#include "app/panel_dock_win.h"

#include "app/player_win.h"
#include "app/resume_win.h"
#include "session/window_layout.h"

namespace {
TkoRect ClientRect(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return {client.left, client.top, client.right, client.bottom};
}

void ApplyPanelAction(TWinPlayer& player, TPanelAction action) {
  HWND panel = player.Panel.Window();
  switch (action) {
    case TPanelAction::kDock: {
      // A slide under way ends here: its next tick would hide the docked panel.
      KillTimer(player.MainWindow, kPanelTimerId);
      player.State.PanelSliding = false;
      const TkoBox box = DockedPanelBox(ClientRect(player.MainWindow), player.Scale);
      SetWindowPos(panel, HWND_TOP, box.X, box.Y, box.Width, box.Height, SWP_SHOWWINDOW);
      break;
    }
    case TPanelAction::kHide: ShowWindow(panel, SW_HIDE); break;
    case TPanelAction::kStartSliding:
      SetTimer(player.MainWindow, kPanelTimerId, kPanelTimerPeriodMs, nullptr);
      player.State.PanelSliding = true;
      break;
  }
}
}  // namespace

void LayOutChildWindows(TWinPlayer& player) {
  if (player.MainWindow == nullptr) return;
  const HWND panel = player.Panel.Window();
  const bool panelVisible = panel != nullptr && IsWindowVisible(panel) != FALSE;
  const TChildLayout layout = LayOutChildren(ClientRect(player.MainWindow), player.State, panelVisible, player.Scale);
  if (HWND list = player.SegmentList.Window()) {
    if (layout.SegmentListShown) {
      const TkoBox& box = layout.SegmentList;
      MoveWindow(list, box.X, box.Y, box.Width, box.Height, TRUE);
      ShowWindow(list, SW_SHOW);
    } else {
      ShowWindow(list, SW_HIDE);
    }
  }
  if (panel != nullptr) ApplyPanelAction(player, layout.Panel);
  PlaceResumeOffer(player);
  PlaceScreenSearch(player);
}

void OnSize(TWinPlayer& player) {
  LayOutChildWindows(player);
  player.Presenter.Resized();
}

void ShowPanelNearBottom(TWinPlayer& player, LPARAM lParam) {
  const HWND panel = player.Panel.Window();
  if (panel == nullptr || player.State.ShowPanel) return;
  ApplyPanelAction(player, PanelOnMouseMove(lParam, ClientRect(player.MainWindow), IsWindowVisible(panel) != FALSE,
                                            player.State.FullScreen, player.Scale));
}

void SlidePanel(TWinPlayer& player) {
  const HWND panelWindow = player.Panel.Window();
  if (panelWindow == nullptr) return;
  RECT panel{};
  GetWindowRect(panelWindow, &panel);
  const TSlideStep step =
      PanelSlideStep(panel.top, ClientRect(player.MainWindow).Bottom, player.State.PanelSliding, player.Scale);
  if (step.Stop) {
    KillTimer(player.MainWindow, kPanelTimerId);
    ShowWindow(panelWindow, SW_HIDE);
    player.State.PanelSliding = false;
    return;
  }
  SetWindowPos(panelWindow, nullptr, panel.left, step.NewTop, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
