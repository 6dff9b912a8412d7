#include "film_indexer.h"

#include <cstdio>
#include <fstream>

#include "film/film_identity.h"
#include "film/ko_error.h"
#include "interruption.h"
#include "kof_session.h"
#include "platform/export_leftovers.h"
#include "platform/machine_processes.h"
#include "progress_line.h"
#include "screen_reader.h"
#include "text/film_text_walk.h"

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
  if (!InspectFilm(request.film.string(), session.segments, session.tempFolder)) throw EkoError("not a film");
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
  index.Film = request.film.filename().string();
  index.FilmBytes = int64_t(fs::file_size(request.film));
  index.FilmIdentity = FilmIdentity(request.film);
  index.Languages = request.languages;
  index.Segments = walk.Segments();
  index.Words = walk.TakeWords();
  return index;
}

void WriteTextIndex(const TTextIndex& index, const fs::path& out) {
  const fs::path temporary = TemporaryOutput(out, ThisProcessId());
  const std::string document = TextIndexDocument(index);
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    file.write(document.data(), std::streamsize(document.size()));
    file.close();
    if (!file) {
      std::error_code ignored;
      fs::remove(temporary, ignored);
      throw EkoError("cannot write " + out.string());
    }
  }
  std::error_code error;
  fs::rename(temporary, out, error);
  if (error) {
    fs::remove(temporary, error);
    throw EkoError("cannot write " + out.string() + ": " + error.message());
  }
}
