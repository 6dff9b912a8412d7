#include "kof_reading/film_indexer.h"

#include <cstdio>

#include "film/film_identity.h"
#include "film/ko_error.h"
#include "kof_export/interruption.h"
#include "kof_common/kof_session.h"
#include "kof_export/progress_line.h"
#include "kof_reading/screen_reader.h"
#include "text/film_text_walk.h"
#include "kof_common/utf8_path.h"

namespace fs = std::filesystem;

namespace {
int64_t PicturesOf(const TSegmentList& segments) {
  int64_t pictures = 0;
  for (int32_t i = 0; i < segments.Count(); ++i) pictures += std::max(segments.Get(i)->FrameCount, 0);
  return pictures;
}
}  // namespace

TTextIndex IndexFilm(const IndexRequest& request) {
  KofSession session(request.unpackFolder);
  if (!InspectFilm(request.film, session.segments, session.tempFolder)) throw EkoError("not a film");
  ScreenReader reader(request.languages);
  TFilmTextWalk walk(session.segments, [](int32_t segment, const std::string& problem) {
    std::fprintf(stderr, "kof: segment %d: %s\n", segment, problem.c_str());
  });
  ProgressLine progress(PicturesOf(session.segments), walk.TotalSeconds());
  while (walk.Step()) {
    ThrowIfInterrupted();
    if (walk.NewPictureSeconds() > 0) progress.Advance(walk.NewPictureSeconds());
    for (const TTextBox& area : walk.Due()) walk.Read(area, reader.Read(walk.Picture(), area));
  }
  TTextIndex index;
  index.Film = Utf8Of(request.film.filename());
  index.FilmBytes = int64_t(fs::file_size(request.film));
  index.FilmIdentity = FilmIdentity(request.film);
  index.Languages = request.languages;
  index.Segments = walk.Segments();
  index.Words = walk.TakeWords();
  return index;
}
