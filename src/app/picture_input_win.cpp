#include "app/picture_input_win.h"

#include <windowsx.h>

#include "session/command_ids.h"
#include "app/commands_win.h"
#include "app/player_win.h"
#include "app/bottom_panel_win.h"

namespace {
// Whole notches of the wheel; the rest of a finer wheel's turns waits for the next.
int TakeNotches(int& rest, int delta) {
  rest += delta;
  const int notches = rest / WHEEL_DELTA;
  rest -= notches * WHEEL_DELTA;
  return notches;
}

bool IsWithin(HWND window, HWND ancestor) {
  return ancestor != nullptr && (window == ancestor || IsChild(ancestor, window));
}
}  // namespace

bool OnPictureKey(TWinPlayer& player, WPARAM key, LPARAM flags) {
  if (key != VK_SPACE) return false;
  const bool repeated = (flags & (LPARAM{1} << 30)) != 0;
  if (!repeated) RunCommand(player, player.Engine.State() == psPlaying ? CM_PAUSE : CM_PLAY);
  return true;
}

void OnPictureClick(TWinPlayer& player) {
  if (player.MainWindow != nullptr && GetFocus() != player.MainWindow) SetFocus(player.MainWindow);
}

void OnPictureDoubleClick(TWinPlayer& player) { RunCommand(player, CM_FULL_SCREEN); }

bool TakeMouseWheel(TWinPlayer& player, const MSG& message) {
  if (message.message != WM_MOUSEWHEEL || player.MainWindow == nullptr) return false;
  const POINT point{GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)};
  HWND under = WindowFromPoint(point);
  if (IsWithin(under, player.SegmentList.Window())) {
    if (under == message.hwnd) return false;
    SendMessageW(under, WM_MOUSEWHEEL, message.wParam, message.lParam);  // the list scrolls under the mouse
    return true;
  }
  if (!IsWithin(under, player.MainWindow)) return false;
  const int notches = TakeNotches(player.WheelRest, GET_WHEEL_DELTA_WPARAM(message.wParam));
  if (under == player.Panel.ProgressBar()) {
    for (int i = 0; i < (notches < 0 ? -notches : notches) && player.MainWindow != nullptr; ++i)
      RunCommand(player, notches > 0 ? CM_SEEK_FORWARD : CM_SEEK_BACK);
  } else if (notches != 0) {
    player.Panel.StepVolume(notches * kWheelVolumePercent);
  }
  return true;
}
