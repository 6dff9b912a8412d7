#pragma once
// The player's one instance: its texts and shell state, the command line, the film,
// the playback engine with the services it runs on, and the main window's handles.
// The main routine makes it before the main window and destroys it after the message
// loop, so everything here outlives every window and every tick. The windows reach it
// through their main window (PlayerOf).
#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/bar_preview_win.h"
#include "app/bottom_panel_win.h"
#include "session/command_line.h"
#include "session/film_session.h"
#include "app/film_activity_win.h"
#include "app/menus_win.h"
#include "app/message_boxes_win.h"
#include "app/playback_shell_win.h"
#include "app/resume_win.h"
#include "app/screen_search_win.h"
#include "app/segment_list_window_win.h"
#include "app/settings_file_win.h"
#include "session/shell_state.h"
#include "session/ui_texts.h"
#include "app/video_export_win.h"
#include "film/segment_list.h"
#include "platform/dib_picture_memory_win.h"
#include "platform/frame_timer_win.h"
#include "platform/gdi_frame_presenter_win.h"
#include "platform/gdi_holders_win.h"
#include "platform/media_player_win.h"
#include "playback/frame_source.h"
#include "playback/playback_engine.h"
#include "playback/screen_scale.h"

// Posted to the main window when boxes wait in TWinPlayer::Boxes.
constexpr UINT WM_SHOWBOXES = WM_APP + 1;

class TWinPlayer : public TSessionView {
public:
  explicit TWinPlayer(HINSTANCE instance);
  TWinPlayer(const TWinPlayer&) = delete;
  TWinPlayer& operator=(const TWinPlayer&) = delete;

  HINSTANCE Instance;
  std::filesystem::path ProgramPath;
  HWND MainWindow = nullptr;  // null again once it is destroyed
  // Set by the destroy handler; also when the window closed inside its own creation.
  bool MainWindowDestroyed = false;
  HACCEL Accelerators = nullptr;

  TUiTexts Texts;
  std::string LanguageBlock;  // the raw table from the program's own file; "" when none
  TShellState State;
  CommandLineOptions Options;
  std::filesystem::path TempFolder;  // empty when it could not be created
  TMenus Menus;
  TGdiObject<HFONT> LoadingFont;
  // The scale of the screen the main window is on (its DPI); 96 DPI before it exists.
  TScreenScale Scale;
  TPendingBoxes Boxes;

  TPlayerEvents Events;
  TMediaPlayer Sound;
  TMultimediaTimer Timer;
  TDibPictureMemory PictureMemory;
  TWindowsFrameHost FrameHost;
  TkoFrameSource Frames;
  TGdiFramePresenter Presenter;
  TWindowsPlaybackShell PlaybackShell;
  TPlaybackEngine Engine;
  // The film open: its file and segments. Until the start-up film has been opened the
  // engine has no segments and the transport does nothing.
  TFilmSession Film{Engine, *this, Texts, TempFolder};
  // Where films were left, and the offer to go back there.
  TResumeState Resume;
  // The user's settings file, and what this player changed in it but could not write yet.
  TSettingsFile Settings;
  // The picture above the progress bar; made when the mouse first comes over the bar.
  std::unique_ptr<TBarPreview> Preview;
  // The film's activity, measured in the background, and skipping its idle stretches.
  TFilmActivity Activity;
  // File > Export video: the export running, if any, and its notes.
  TVideoExport Export;
  // The bottom panel, and the segment list's pane.
  TBottomPanel Panel{*this};
  TSegmentListPane SegmentList{*this};
  // Actions > Find on screen: the film's text index, what was found, the search field.
  TScreenSearchState ScreenSearch;
  // A finer wheel's turns short of a whole notch, kept for the next (picture_input_win.cpp).
  int WheelRest = 0;

  // What the film session tells the windows (commands_win.cpp).
  void FilmClosing() override;
  void FilmLoading() override;
  void FilmOpened(const TOpenedFilm& film) override;
  void ShowBox(const TSessionBox& box) override;
};

// The player whose main window window is, or a child or owned window of: the main
// window carries its player from its first message to its last (AttachPlayer, null to
// let go). Null for a window of no player's, and outside those messages.
void AttachPlayer(HWND mainWindow, TWinPlayer* player);
TWinPlayer* PlayerOf(HWND window);

// Texts converted from the system's ANSI code page, as a language table is written.
std::string AnsiToUtf8(const std::string& text);
