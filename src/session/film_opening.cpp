#include "session/film_opening.h"

#include "film/film_loader.h"
#include "film/ko_error.h"

TFilmDoorRule FilmDoorRule(TFilmDoor door) {
  switch (door) {
    // A film named on the command line is read like a film executable: it must end with
    // the trailer that gives its length.
    case TFilmDoor::kStartup: return {kModeReadShared, true, false, false, false};
    case TFilmDoor::kChosen: return {kModeReadExclusive, false, true, true, false};
    // The page cannot tell a film file from a film executable by its door: either is read.
    case TFilmDoor::kPage: return {kModeReadShared, true, true, false, true};
  }
  return {};
}

std::unique_ptr<TkoFileStream> OpenFilmFile(const std::filesystem::path& path, TFilmDoor door) {
  try {
    return std::make_unique<TkoFileStream>(path, FilmDoorRule(door).OpenMode);
  } catch (const EkoError&) {
    return nullptr;
  }
}

namespace {
bool LoadAsTheDoorFinds(TFilmLoader& loader, TkoFileStream& file, const TFilmDoorRule& rule) {
  if (rule.ThroughTrailer && loader.LoadAppendedFilm(&file)) return true;
  return rule.FromFirstByte && file.SetPosition(0) == 0 && loader.LoadFilm(&file);
}
}  // namespace

TFilmReading ReadFilm(TkoFileStream& file, TFilmDoor door, TSegmentList& segments,
                      const std::filesystem::path& tempFolder, const std::string& invalidVersionFormat) {
  segments.Clear();
  TFilmLoader loader(segments, tempFolder);
  loader.SetInvalidVersionFormat(invalidVersionFormat);
  TFilmReading reading;
  try {
    reading.Loaded = LoadAsTheDoorFinds(loader, file, FilmDoorRule(door));
  } catch (const EkoError& error) {
    reading.Error = error.what();
  }
  reading.Warning = loader.WarningText();
  reading.Damage = loader.Damage();
  reading.HasSegments = (reading.Loaded || !reading.Error.empty()) && segments.Count() > 0;
  return reading;
}
