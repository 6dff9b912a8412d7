// The commands of the menu bar, the context menu and the keys, and opening a film.
#include "app/commands_win.h"

#include <commdlg.h>
#include <shellapi.h>
#include <windowsx.h>

#include <memory>
#include <type_traits>

#include "app/about_box_win.h"
#include "session/command_ids.h"
#include "session/film_opening.h"
#include "session/film_properties.h"
#include "session/fixed_texts.h"
#include "app/language_win.h"
#include "app/panel_dock_win.h"
#include "app/player_win.h"
#include "app/save_picture_win.h"
#include "app/screen_scale_win.h"
#include "session/transport_commands.h"
#include "platform/wide_text_win.h"
#include "app/segment_list_window_win.h"
#include "controls/control_palette_win.h"
#include "film/ko_error.h"

namespace {
void ShowProperties(TWinPlayer& player) {
  if (!player.Film.IsOpen()) return;
  const auto text =
      FilmPropertiesText(WideToUtf8(player.ProgramPath.wstring()), player.Film.Segments(), player.Texts, AnsiToUtf8);
  if (text)
    ShowBox(player.MainWindow, *text, FixedTexts(player.Texts.Language()).PropertiesCaption, MB_OK | MB_ICONINFORMATION);
}

void ShowHelp(TWinPlayer& player) {
  ShowBox(player.MainWindow, HelpText(player.Texts.Language()), player.Texts.Menu(TMenuText::kHelp),
          MB_OK | MB_ICONINFORMATION);
}

// Open dialog; only while stopped (the menu items are also grayed unless the player
// started without a film, but in full screen there is no menu to gray).
void LoadFromDialog(TWinPlayer& player) {
  if (player.Engine.State() != psStopped) return;
  std::wstring fileName(32768, L'\0');  // long paths too, not only 260 characters
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = player.MainWindow;
  dialog.lpstrFilter = L"koRecorder films (*.kof)\0*.kof\0";
  dialog.lpstrFile = fileName.data();
  dialog.nMaxFile = static_cast<DWORD>(fileName.size());
  dialog.Flags = OFN_OVERWRITEPROMPT;
  dialog.lpstrDefExt = L"kof";
  if (!GetOpenFileNameW(&dialog)) return;
  fileName.resize(wcslen(fileName.c_str()));
  OpenFilm(player, fileName, TFilmDoor::kChosen);
}
}  // namespace

void ShowContextMenuAtCursor(TWinPlayer& player) {
  POINT cursor{};
  GetCursorPos(&cursor);
  player.Menus.ShowContextMenu(player.MainWindow, cursor);
}

void ShowContextMenuFor(TWinPlayer& player, LPARAM where) {
  if (where != -1) {
    player.Menus.ShowContextMenu(player.MainWindow, {GET_X_LPARAM(where), GET_Y_LPARAM(where)});
    return;
  }
  HWND focused = GetFocus();
  if (focused == nullptr || !IsChild(player.MainWindow, focused)) focused = player.MainWindow;
  RECT area{};
  GetClientRect(focused, &area);
  POINT corner{area.left + player.Scale.Px(8), area.top + player.Scale.Px(8)};
  ClientToScreen(focused, &corner);
  player.Menus.ShowContextMenu(player.MainWindow, corner);
}

void RunCommand(TWinPlayer& player, int command) {
  switch (command) {
    case CM_EXIT: DestroyWindow(player.MainWindow); break;
    case CM_LOAD: LoadFromDialog(player); break;
    case CM_PROPERTIES: ShowProperties(player); break;
    case CM_SEGMENTS: ToggleSegmentList(player); break;
    case CM_CONTROL_PANEL: ToggleControlPanel(player); break;
    case CM_FULL_SCREEN: ToggleFullScreen(player); break;
    case IDCANCEL:  // Escape, as the dialog handling of the message loop sends it
      if (player.State.FullScreen) ToggleFullScreen(player);
      break;
    case CM_HELP: ShowHelp(player); break;
    case CM_ABOUT: ShowAboutBox(player.MainWindow, player.Texts.Language(), CurrentControlPalette()); break;
    case CM_SAVE_PICTURE: SavePicture(player); break;
    case CM_RESUME: ResumeFilm(player); break;
    case CM_ZOOM_SCREEN_SCALE: SetZoom(player, TPictureZoom::kScreenScale); break;
    case CM_ZOOM_ORIGINAL_PIXELS: SetZoom(player, TPictureZoom::kOriginalPixels); break;
    case CM_ZOOM_FIT_WINDOW: SetZoom(player, TPictureZoom::kFitWindow); break;
    case CM_SKIP_IDLE: ToggleIdleSkip(player); break;
    case CM_EXPORT_VIDEO: ExportVideo(player); break;
    case CM_SHOW_SAVED_VIDEO: ShowSavedVideoInFolder(player); break;
    case CM_FIND_ON_SCREEN: OpenScreenSearch(player); break;
    case CM_FIND_NEXT: StepScreenSearch(player, true); break;
    case CM_FIND_PREVIOUS: StepScreenSearch(player, false); break;
    case CM_LANGUAGE_RUSSIAN: ChooseLanguage(player, TUiLanguage::kRussian); break;
    case CM_LANGUAGE_ENGLISH: ChooseLanguage(player, TUiLanguage::kEnglish); break;
    default: RunTransportCommand(player.Engine, command); break;
  }
  if (player.MainWindow != nullptr) {
    UpdateMenuStates(player);
    LayOutChildWindows(player);
  }
}

void DrawLoadingText(TWinPlayer& player) {
  TWindowDC dc(player.MainWindow);
  if (dc.Get() == nullptr) return;
  const TSelection font(dc.Get(), player.LoadingFont.Get());
  SetBkMode(dc.Get(), TRANSPARENT);
  SetTextColor(dc.Get(), GetSysColor(COLOR_WINDOWTEXT));  // on the window's own COLOR_WINDOW
  const std::wstring text = Utf8ToWide(player.Texts.Message(TMessageText::kLoading));
  const TkoPoint at = player.Scale.Point({kLoadingTextX, kLoadingTextY});
  TextOutW(dc.Get(), at.X, at.Y, text.c_str(), static_cast<int>(text.size()));
}

void TWinPlayer::ShowBox(const TSessionBox& box) {
  ::ShowBox(MainWindow, box.Text, box.Caption, SessionBoxFlags(box));
}

// The film open closes: the preview lets go of its files, its place is remembered.
void TWinPlayer::FilmClosing() {
  ReleaseBarPreview(*this);
  ReleaseFilmActivity(*this);
  RememberFilmPlace(*this);
}

void TWinPlayer::FilmLoading() { DrawLoadingText(*this); }

void TWinPlayer::FilmOpened(const TOpenedFilm& film) {
  // A reading stopped part way still leaves the start-up film's segments to play.
  if (film.Door == TFilmDoor::kStartup) State.NoStartupFilm = !film.Reading.Loaded && film.Reading.Error.empty();
  SegmentList.Fill();
  if (FilmDoorRule(film.Door).TitleNamesFilm)
    SetWindowTextW(MainWindow, WindowTitleForFilm(film.Path.wstring(), ProgramPath.wstring()).c_str());
  StartFilmActivity(*this);
  InvalidateRect(MainWindow, nullptr, TRUE);
  for (const TSessionBox& box : film.Report) ShowBox(box);
  FilmOpenedForResume(*this, film.Path, ResumeOfferAllowed(Options, film.Door));
  FilmOpenedForSearch(*this);
}

bool OpenFilm(TWinPlayer& player, const std::filesystem::path& path, TFilmDoor door) {
  return player.Film.Open(path, door, WideToUtf8(path.wstring()));
}

void DropFiles(TWinPlayer& player, HDROP drop) {
  // The drop's memory is given back however the handler ends, a failure included.
  const std::unique_ptr<std::remove_pointer_t<HDROP>, decltype(&DragFinish)> owner(drop, DragFinish);
  if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) == 0) return;
  std::wstring path(DragQueryFileW(drop, 0, nullptr, 0) + 1, L'\0');
  path.resize(DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size())));
  if (!IsFilmFileName(path)) return;
  if (OpenFilm(player, path, TFilmDoor::kChosen)) player.Engine.Play();
}
