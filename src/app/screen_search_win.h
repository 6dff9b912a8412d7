#pragma once
// Find on screen in the Windows player: Ctrl+F or Actions > Find on screen opens the
// search field above the panel, which reads the film's text index from beside it
// (screen_search.h); what is typed is searched as it is typed and the hits listed;
// Enter or a click pauses the film on a hit and outlines the word on the picture for a
// while; F3 and Shift+F3 go to the next and previous hit; Escape closes the field. The
// index is read and searched on a thread of its own (search_worker.h), which posts
// WM_SEARCHANSWER to the main window when an answer waits.
#include <windows.h>

#include <memory>

#include "session/search_worker.h"
#include "controls/search_bar_win.h"

class TWinPlayer;

constexpr UINT WM_SEARCHANSWER = WM_APP + 6;

struct TScreenSearchState {
  TSearchAnswer Answer;    // what the field shows, and the hit chosen
  bool IndexRead = false;  // for the film open
  std::unique_ptr<TSearchBar> Bar;
  std::unique_ptr<TSearchWorker> Worker;  // made with the field, ended before it
};

// CM_FIND_ON_SCREEN: shows the field (reading the index the first time for this film)
// and puts the keyboard in it; nothing without a film.
void OpenScreenSearch(TWinPlayer& player);
// CM_FIND_NEXT, CM_FIND_PREVIOUS: goes to the next (previous) hit of what was searched.
void StepScreenSearch(TWinPlayer& player, bool forward);
// Another film opened: its own index is read, at once while the field is open.
void FilmOpenedForSearch(TWinPlayer& player);
// WM_SEARCHANSWER: the newest answer is shown.
void TakeSearchAnswer(TWinPlayer& player);
// The texts changed, the layout changed, the screen's scale changed.
void RetextScreenSearch(TWinPlayer& player);
void PlaceScreenSearch(TWinPlayer& player);
void ScaleScreenSearch(TWinPlayer& player);
