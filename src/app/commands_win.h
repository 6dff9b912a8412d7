#pragma once
// The main window's commands (menu bar, context menu, accelerators), opening films, and
// the window modes they switch: full screen, the control panel, the segment list.
#include <windows.h>
#include <shellapi.h>

#include <filesystem>

#include "playback/picture_zoom.h"

class TPlayer;
class TFilmLoader;

// Runs the command with that identifier (an unknown one does nothing), then brings the
// menu states up to date.
void RunCommand(TPlayer& player, int command);

// Opens the context menu at the mouse pointer.
void ShowContextMenuAtCursor(TPlayer& player);

// Opens a film from byte 0 (Load, a dropped file): the old film and its files go, the
// new one is loaded, the title names it. Shows "CannotOpenFileFmt" when the file cannot
// be opened; the old film then stays. Playback does not start.
void OpenFilm(TPlayer& player, const std::filesystem::path& path);
// WM_DROPFILES: the first dropped file is opened and played when it is a film.
void DropFiles(TPlayer& player, HDROP drop);
// The loader's version warnings ("Warning") and damage report, each in one box.
void ShowLoadReport(TPlayer& player, const TFilmLoader& loader);
// Writes the "Loading" text at 16,16 of the client area (the next repaint removes it).
void DrawLoadingText(TPlayer& player);

// window_modes_win.cpp
// Enables, grays and checks the menu items (and the panel's buttons) as the state says.
void UpdateMenuStates(TPlayer& player);
// Saves the window's rectangle and ShowPanel for leaving full screen.
void SaveWindowPlacement(TPlayer& player);
void ToggleFullScreen(TPlayer& player);
void ToggleControlPanel(TPlayer& player);
void ToggleSegmentList(TPlayer& player);
// View > Zoom: the picture at this zoom from now on (laid out again while shown).
void SetZoom(TPlayer& player, TPictureZoom zoom);
