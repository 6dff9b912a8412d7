#include "app/startup_win.h"

#include <shellapi.h>

#include <vector>

#include "app/commands_win.h"
#include "session/fixed_texts.h"
#include "app/language_win.h"
#include "controls/ko_common_win.h"
#include "app/panel_dock_win.h"
#include "app/player_win.h"
#include "app/screen_scale_win.h"
#include "session/window_layout.h"
#include "platform/wide_text_win.h"
#include "app/bottom_panel_win.h"
#include "app/segment_list_window_win.h"

namespace {
// Windows gives a program about five seconds to answer WM_ENDSESSION: the settings
// file waits at most this long for another program to let go of it, and an export that
// does not stop when asked is ended after this long.
constexpr DWORD kSessionEndSettingsMs = 1000;
constexpr DWORD kSessionEndExportMs = 2000;

std::vector<std::wstring> CommandLineParameters() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> parameters;
  for (int i = 1; arguments != nullptr && i < count; ++i) parameters.emplace_back(arguments[i]);
  if (arguments != nullptr) LocalFree(arguments);
  return parameters;
}

void ApplyCommandLine(TWinPlayer& player) {
  TScreenDC screen;
  const TkoSize size{GetDeviceCaps(screen.Get(), HORZRES), GetDeviceCaps(screen.Get(), VERTRES)};
  const TCommandLineResult result = ParseCommandLine(CommandLineParameters(), size, MinimumWindowSize(player.Scale));
  const TFixedTexts& texts = FixedTexts(player.Texts.Language());
  for (const TCommandLineBox box : result.Boxes) {
    if (box == TCommandLineBox::kHelp)
      ShowBox(nullptr, texts.CommandLineHelpText, texts.CommandLineHelpCaption, MB_OK | MB_ICONINFORMATION);
    else
      ShowBox(nullptr, texts.InvalidCommandLineText, kInvalidCommandLineCaption, MB_OK | MB_ICONERROR);
  }
  player.Options = result.Options;
  player.Engine.SetCloseOnFinish(player.Options.CloseOnFinish);
}

void PlaceWindow(TWinPlayer& player) {
  HWND window = player.MainWindow;
  const CommandLineOptions& options = player.Options;
  if (options.FullScreenRequested) {
    player.State.ShowPanel = false;
    player.State.FullScreen = true;
    SetWindowLongPtrW(window, GWL_STYLE, WS_CLIPCHILDREN | WS_BORDER);
    player.Menus.DetachBar(window);
    ShowWindow(window, SW_SHOWMAXIMIZED);
  } else if (options.SizeMode == smMaximised) {
    SendMessageW(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  } else {
    MoveWindow(window, options.X, options.Y, options.Width, options.Height, TRUE);
    ShowWindow(window, SW_SHOW);
  }
}

// The command line's film, or the program's own file.
std::filesystem::path StartupFilmPath(const TWinPlayer& player) {
  return player.Options.FilmFileName.empty() ? player.ProgramPath : std::filesystem::path(player.Options.FilmFileName);
}

}  // namespace

void CreateMainWindowContents(TWinPlayer& player, HWND window) {
  player.MainWindow = window;
  // The panel and the list are made for the scale of the window's screen.
  player.Scale = WindowScale(window);
  player.SegmentList.Create(window);
  player.Panel.Create(window);
  player.Presenter.SetWindow(window);
  player.Presenter.SetScreenScale(player.Scale);
  player.Timer.SetWindow(window);
  player.Menus.Attach(window);
  SetWindowTextW(window, L"roRezodu");
  AddLanguageMenus(player.Menus, player.Texts.Language());
  ApplyMenuTexts(player, player.Texts.Language() != TUiLanguage::kRussian);
  player.Panel.CreateToolTips(player.Texts);
  player.LoadingFont = CreateLoadingFont(player.Scale);
  ApplyCommandLine(player);
  ChooseIdleSkipAtStart(player);
  player.State.ExportAvailable = VideoExportAvailable(player);
  PlaceWindow(player);
  UpdateMenuStates(player);
  LayOutChildWindows(player);
  if (!OpenFilm(player, StartupFilmPath(player), TFilmDoor::kStartup)) return;
  // A number below 1 starts nothing (and 1 less than -2^31 is no number).
  if (player.Options.SegmentNumber >= 1) player.Engine.StartSegment(player.Options.SegmentNumber - 1);
  DragAcceptFiles(window, player.Engine.State() == psStopped ? TRUE : FALSE);
  UpdateMenuStates(player);
}

void DestroyMainWindowContents(TWinPlayer& player) {
  CancelVideoExport(player);
  player.FilmClosing();  // its place is remembered before the engine stops
  player.Engine.StopForShutdown();
  player.LoadingFont.Reset();
  player.PictureMemory.Release();
  player.Presenter.SetWindow(nullptr);
  player.Timer.SetWindow(nullptr);
  player.MainWindow = nullptr;
  player.MainWindowDestroyed = true;
  player.Events.Notify({TPlayerEvent::kClosing});
  PostQuitMessage(0);
}

void EndSession(TWinPlayer& player, bool ending) {
  if (!ending) return;
  RememberFilmPlace(player);
  player.Settings.WritePending(kSessionEndSettingsMs);
  CancelVideoExport(player, kSessionEndExportMs);
}
