#include "session/film_session.h"

#include <memory>

TFilmSession::TFilmSession(TPlaybackEngine& engine, TSessionView& view, const TUiTexts& texts,
                           const std::filesystem::path& tempFolder)
    : FEngine(engine), FView(view), FTexts(texts), FTempFolder(tempFolder) {}

TFilmSession::~TFilmSession() {
  if (FOpen) FEngine.SetSegmentList(nullptr);
}

bool TFilmSession::Open(const std::filesystem::path& path, TFilmDoor door, const std::string& name) {
  std::unique_ptr<TkoFileStream> file = OpenFilmFile(path, door);
  if (!file) {
    FView.ShowBox({TSessionBox::TKind::kError, FTexts.Message(TMessageText::kError),
                   FTexts.Format(TMessageText::kCannotOpenFileFmt, name)});
    return false;
  }
  if (FOpen) FView.FilmClosing();
  FEngine.SetSegmentList(&FSegments);
  FPath = path;
  FOpen = true;
  FView.FilmLoading();
  const TFilmReading reading =
      ReadFilm(*file, door, FSegments, FTempFolder, FTexts.Message(TMessageText::kInvalidVersionFormat));
  file.reset();
  const TOpenedFilm film{path, door, reading, Report(reading, door, name)};
  const bool kept = film.Reading.HasSegments || !FilmDoorRule(door).NeedsSegments;
  if (kept) {
    FEngine.SelectSegment(0);
    FView.FilmOpened(film);
  } else {
    Forget();
    for (const TSessionBox& box : film.Report) FView.ShowBox(box);
  }
  return kept;
}

void TFilmSession::Close() {
  if (!FOpen) return;
  FView.FilmClosing();
  Forget();
}

void TFilmSession::Forget() {
  FEngine.SetSegmentList(nullptr);
  FSegments.Clear();
  FPath.clear();
  FOpen = false;
}

// The reading's error, a file that holds nothing to play, the version warnings
// and the damage report, each in a box of its own.
std::vector<TSessionBox> TFilmSession::Report(const TFilmReading& reading, TFilmDoor door,
                                              const std::string& name) const {
  using enum TSessionBox::TKind;
  const std::string& error = FTexts.Message(TMessageText::kError);
  const std::string& warning = FTexts.Message(TMessageText::kWarning);
  std::vector<TSessionBox> report;
  if (!reading.Error.empty()) report.push_back({kError, error, reading.Error});
  // The start-up file may be a player without a film; a file chosen or given to
  // the page was meant to be one.
  if (door != TFilmDoor::kStartup && !reading.HasSegments && reading.Error.empty())
    report.push_back({kError, error, FTexts.Format(TMessageText::kWrongFile, name)});
  if (!reading.Warning.empty()) report.push_back({kWarning, warning, reading.Warning});
  if (reading.Damage.empty()) return report;
  std::string damage;
  for (const std::string& line : reading.Damage) damage += line + "\n";
  report.push_back({kWarning, warning, damage});
  return report;
}
