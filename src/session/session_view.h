#pragma once
// What the session tells a player's view: the Windows windows or the page. Each
// player implements the view once and shows the events in its own way.
#include <filesystem>
#include <string>
#include <vector>

#include "session/film_opening.h"

// A message the user reads and confirms: its caption and text, and whether it
// tells of an error or warns.
struct TSessionBox {
  enum class TKind { kError, kWarning };
  TKind Kind = TKind::kError;
  std::string Caption;
  std::string Text;
};

// A film the session opened: its file, the door it came in by, and what reading
// it told.
struct TOpenedFilm {
  std::filesystem::path Path;
  TFilmDoor Door = TFilmDoor::kChosen;
  TFilmReading Reading;  // with something to play, the first segment is selected
  // What reading it told, in the order the user reads it.
  std::vector<TSessionBox> Report;
};

class TSessionView {
public:
  virtual ~TSessionView() = default;
  // The film open is about to go: the view lets go of everything that reads its
  // files and remembers where it was left. The segments are still there.
  virtual void FilmClosing() = 0;
  // A film is being read; the loading text shows until FilmOpened.
  virtual void FilmLoading() = 0;
  // The film's segments are in place (the view fills its lists, names it,
  // starts what follows a film) and then its report is shown.
  virtual void FilmOpened(const TOpenedFilm& film) = 0;
  // A box to show at once: a file that could not be opened.
  virtual void ShowBox(const TSessionBox& box) = 0;
};
