#include "web/web_film_file.h"

#include "film/film_loader.h"
#include "film/ko_stream.h"

void LoadFilmFile(TSegmentList& segments, const std::filesystem::path& path, const std::filesystem::path& folder) {
  TkoFileStream stream(path, kModeReadShared);
  TFilmLoader loader(segments, folder);
  if (!loader.LoadAppendedFilm(&stream) && stream.SetPosition(0) == 0) loader.LoadFilm(&stream);
}
