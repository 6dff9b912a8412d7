#pragma once
// Find on screen in the Windows player: Ctrl+F or Actions > Find on screen opens the
// search field above the panel, which reads the film's text index from beside it
// (screen_search.h); what is typed is searched at once and the hits listed; Enter or a
// click pauses the film on a hit and outlines the word on the picture for a while; F3
// and Shift+F3 go to the next and previous hit; Escape closes the field.
#include <memory>

#include "session/screen_search.h"
#include "controls/search_bar_win.h"

class TPlayer;

struct TScreenSearchState {
  TScreenSearch Search;
  bool IndexRead = false;  // for the film open
  std::unique_ptr<TSearchBar> Bar;
};

// CM_FIND_ON_SCREEN: shows the field (reading the index the first time for this film)
// and puts the keyboard in it; nothing without a film.
void OpenScreenSearch(TPlayer& player);
// CM_FIND_NEXT, CM_FIND_PREVIOUS: goes to the next (previous) hit of what was searched.
void StepScreenSearch(TPlayer& player, bool forward);
// Another film opened: its own index is read, at once while the field is open.
void FilmOpenedForSearch(TPlayer& player);
// The texts changed, the layout changed, the screen's scale changed.
void RetextScreenSearch(TPlayer& player);
void PlaceScreenSearch(TPlayer& player);
void ScaleScreenSearch(TPlayer& player);
