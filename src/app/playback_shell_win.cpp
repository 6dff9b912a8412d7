#include "app/playback_shell_win.h"

#include "session/command_ids.h"
#include "session/playback_boxes.h"
#include "app/commands_win.h"
#include "app/player_win.h"
#include "app/bottom_panel_win.h"
#include "app/segment_list_window_win.h"

void RequestBoxes(TWinPlayer& player) {
  if (player.MainWindow != nullptr) PostMessageW(player.MainWindow, WM_SHOWBOXES, 0, 0);
}

namespace {
// A box of playback's, shown once the message at hand is handled.
void AskLater(TWinPlayer& player, const TSessionBox& box, std::function<void()> after = nullptr, bool unowned = false) {
  player.Boxes.Add({box.Text, box.Caption, SessionBoxFlags(box), std::move(after), unowned});
  RequestBoxes(player);
}
}  // namespace

void TWindowsPlaybackShell::PostNextCommand() {
  if (FPlayer.MainWindow != nullptr) PostMessageW(FPlayer.MainWindow, WM_COMMAND, CM_NEXT, 0);
}

void TWindowsPlaybackShell::ShowError(const std::string& text) {
  AskLater(FPlayer, PlaybackFailedBox(FPlayer.Texts, text));
}

void TWindowsPlaybackShell::ReportSkippedSegment(int32_t, const std::string& reason) {
  AskLater(FPlayer, SkippedSegmentBox(FPlayer.Texts, reason));
}

// Called at every change of the play state.
void TWindowsPlaybackShell::UpdateMenuStates() {
  ::UpdateMenuStates(FPlayer);
  NoteResumePlayState(FPlayer);
}

void TWindowsPlaybackShell::RedrawPanel() { FPlayer.Panel.Redraw(); }

void TWindowsPlaybackShell::RefreshSegmentLine() { FPlayer.Panel.RefreshSegmentLine(); }

void TWindowsPlaybackShell::RefreshTimeText() { FPlayer.Panel.RefreshTimeText(); }

void TWindowsPlaybackShell::SelectSegmentLine(int32_t index) { FPlayer.SegmentList.SelectLine(index); }

void TWindowsPlaybackShell::MoveButtonFocus(TPlayState newState) { FPlayer.Panel.MoveButtonFocus(newState); }

bool TWindowsPlaybackShell::PanelShown() const { return FPlayer.Panel.Window() != nullptr && FPlayer.State.ShowPanel; }

void TWindowsPlaybackShell::AcceptDroppedFiles(bool accept) {
  if (FPlayer.MainWindow != nullptr) DragAcceptFiles(FPlayer.MainWindow, accept ? TRUE : FALSE);
}

bool TWindowsPlaybackShell::IsFullScreen() const { return FPlayer.State.FullScreen; }

void TWindowsPlaybackShell::ToggleFullScreen() { ::ToggleFullScreen(FPlayer); }

void TWindowsPlaybackShell::SavePlacement() { SaveWindowPlacement(FPlayer); }

TScreenSize TWindowsPlaybackShell::ScreenSize() const {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

void TWindowsPlaybackShell::InvalidateMainWindow() {
  if (FPlayer.MainWindow != nullptr) InvalidateRect(FPlayer.MainWindow, nullptr, TRUE);
}

void TWindowsPlaybackShell::DestroyMainWindow() {
  if (FPlayer.MainWindow != nullptr) DestroyWindow(FPlayer.MainWindow);
}

int32_t TWindowsFrameHost::DisplayDepth() const {
  TScreenDC screen;
  return GetDeviceCaps(screen.Get(), BITSPIXEL);
}

void TWindowsFrameHost::UnsupportedDepth(int32_t depth) {
  // The box has no owner: the main window is minimised right after it.
  const auto minimise = [&player = FPlayer] {
    if (player.MainWindow != nullptr) ShowWindow(player.MainWindow, SW_MINIMIZE);
  };
  AskLater(FPlayer, UnsupportedDepthBox(FPlayer.Texts, depth), minimise, true);
}

void TWindowsFrameHost::DamagedRecord(const std::string& text) {
  AskLater(FPlayer, DamagedRecordBox(FPlayer.Texts, text));
}
