#pragma once
// The main window's commands (menu bar, context menu, accelerators), opening films, and
// the window modes they switch: full screen, the control panel, the segment list.
#include <windows.h>
#include <shellapi.h>

#include <filesystem>

#include "playback/picture_zoom.h"
#include "session/film_opening.h"

class TWinPlayer;

// Runs the command with that identifier (an unknown one does nothing), then brings the
// menu states up to date.
void RunCommand(TWinPlayer& player, int command);

// Opens the context menu at the mouse pointer.
void ShowContextMenuAtCursor(TWinPlayer& player);
// Opens it for WM_CONTEXTMENU, whose lParam is where (screen), or -1 for Shift+F10 and
// the Menu key, which open it at the focused control.
void ShowContextMenuFor(TWinPlayer& player, LPARAM where);

// Opens a film the way its door reads it: the old film and its files go, the new one is
// read, and the segment list, the title (where the door names the film), activity, resume
// and search follow it. False after "CannotOpenFileFmt" when the file cannot be opened;
// the old film then stays. Playback does not start.
bool OpenFilm(TWinPlayer& player, const std::filesystem::path& path, TFilmDoor door);
// WM_DROPFILES: the first dropped file is opened and played when it is a film.
void DropFiles(TWinPlayer& player, HDROP drop);
// Writes the "Loading" text at 16,16 of the client area (the next repaint removes it).
void DrawLoadingText(TWinPlayer& player);

// window_modes_win.cpp
// Enables, grays and checks the menu items (and the panel's buttons) as the state says.
void UpdateMenuStates(TWinPlayer& player);
// Saves the window's rectangle and ShowPanel for leaving full screen.
void SaveWindowPlacement(TWinPlayer& player);
void ToggleFullScreen(TWinPlayer& player);
void ToggleControlPanel(TWinPlayer& player);
void ToggleSegmentList(TWinPlayer& player);
// View > Zoom: the picture at this zoom from now on (laid out again while shown).
void SetZoom(TWinPlayer& player, TPictureZoom zoom);
