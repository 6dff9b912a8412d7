#pragma once
// Find on screen in the web player: the Windows player's search (session/screen_search.h)
// over the index the worker's file system holds beside the film (taken from beside the
// film's address, or dropped with it), answered as JSON for the page.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "session/screen_search.h"
#include "session/ui_texts.h"

class TWebSearch {
public:
  // Reads FILM.words.json beside film; a missing or damaged one leaves nothing to search.
  void Open(const std::filesystem::path& film) {
    FFilm = film;
    FSearch.Open(film);
  }
  // Searches the index at path instead, one made in the page for the film open now.
  void UseIndex(const std::filesystem::path& path) { FSearch.Open(FFilm, path); }
  bool HasIndex() const { return FSearch.HasIndex(); }

  // The hits of query: {"status", "index" (whether there is one to search), "hits": [{"label", "segment" (from 0), "time",
  // "box": [left, top, width, height]}]}, labels and status in texts' language.
  std::string Find(std::string_view query, const TUiTexts& texts);
  // The hit chosen by the list (Choose) or by F3 and Shift+F3 from the place shown
  // (Step): {"chosen", "segment" (from 0), "time", "box"}, or {} when there is none.
  std::string Choose(size_t hit);
  std::string Step(bool forward, TShownPlace shown);
  // The chosen hit, for the player to show.
  const TTextHit* Chosen() const;

private:
  std::string ChosenJson() const;

  std::filesystem::path FFilm;
  TScreenSearch FSearch;
};
