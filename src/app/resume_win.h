#pragma once
// Resuming films where they were left, in the Windows player. When a film closes (the
// player ends, another film opens) its place goes to the settings file in the user's
// roaming application-data folder, as the rules of resume_tracker.h say; when it opens
// again an offer is shown for a while above the panel ("Продолжить с 00:12:34 —
// Ctrl+R"), and Ctrl+R, a click on the offer or Actions > Resume seeks there. A
// settings file that cannot be read or written says nothing (settings_file_win.h).
#include <windows.h>

#include <filesystem>
#include <memory>
#include <optional>

#include "session/resume_tracker.h"
#include "session/settings_store.h"
#include "controls/note_window_win.h"

class TWinPlayer;

struct TResumeState {
  TResumeTracker Tracker;
  TFilmIdentity Film;  // the film open; an empty path when it cannot be told
  std::optional<TFilmFrame> Place;  // where it was left, when that is offered
  std::unique_ptr<TNoteWindow> Note;
};

// Where a note's bottom goes: a little above the panel (or the window's bottom edge
// while the panel is hidden), in the main window's client area.
int32_t BottomAboveThePanel(const TWinPlayer& player);
// Shows a note at the left, just above the panel.
void ShowNoteAboveThePanel(TWinPlayer& player, TNoteWindow& note);
// A film was opened from path (the program's own path for a film executable): the
// tracker starts afresh and, with offer set, the film's place is offered when the
// settings file has one.
void FilmOpenedForResume(TWinPlayer& player, const std::filesystem::path& path, bool offer);
// The film open closes: its place is remembered or forgotten, as the rules say.
void RememberFilmPlace(TWinPlayer& player);
// The play state changed (the tracker counts the time played).
void NoteResumePlayState(TWinPlayer& player);
// The engine's stop event: where the film stood before it went back to its start.
void NoteResumeStop(TWinPlayer& player);
// CM_RESUME: seeks to the place offered; nothing without one.
void ResumeFilm(TWinPlayer& player);
// The texts changed: an offer on show says it in the new ones, for the time it has left.
void RetextResumeOffer(TWinPlayer& player);
// After the layout changed: the offer stays above the panel.
void PlaceResumeOffer(TWinPlayer& player);
