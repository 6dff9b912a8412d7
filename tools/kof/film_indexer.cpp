#include "film_indexer.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "film/ko_error.h"
#include "interruption.h"
#include "kof_session.h"
#include "output_names.h"
#include "playback/headless_player.h"
#include "progress_line.h"
#include "screen_reader.h"
#include "text/changed_areas.h"
#include "text/word_tracker.h"

namespace fs = std::filesystem;

namespace {
// Follows one segment's pictures, reading each area as it becomes due.
class SegmentWalk {
public:
  SegmentWalk(int32_t segment, const TSegmentInfo& info, ScreenReader& reader)
      : FRate(std::max<int32_t>(info.FramesPerSecond, 1)), FTracker(segment), FReader(reader), FPrevious() {}

  void Picture(int32_t frame, const TkoPictureView& picture) {
    const TkoPictureView before = FPrevious.View();
    if (before.IsEmpty() || before.Width != picture.Width || before.Height != picture.Height ||
        before.Depth != picture.Depth)
      FPrevious.Resize(picture.Width, picture.Height, picture.Depth);
    const double seconds = double(frame) / FRate;
    for (const TTextBox& box : ChangedAreas(FPrevious.View(), picture)) {
      FSettle.Changed(box, seconds);
      FTracker.Changed(box, seconds);
    }
    for (const TTextBox& area : FSettle.Due(seconds))
      FTracker.Read(area, FReader.Read(picture, area), seconds, FSettle);
    CopyPicture(picture);
    FLast = seconds;
  }

  std::vector<TIndexedWord> Finish(int32_t frameCount) {
    for (const TTextBox& area : FSettle.Remaining())
      FTracker.Read(area, FReader.Read(FPrevious.View(), area), FLast, FSettle);
    return FTracker.Finish(double(frameCount) / FRate);
  }

private:
  void CopyPicture(const TkoPictureView& picture) {
    const TkoPictureView kept = FPrevious.View();
    for (int32_t y = 0; y < picture.Height; ++y)
      std::copy_n(picture.Row(y), size_t(picture.Width) * size_t(picture.BytesPerPixel()), kept.Row(y));
  }

  int32_t FRate;
  TScreenSettle FSettle;
  TWordTracker FTracker;
  ScreenReader& FReader;
  TkoPicture FPrevious;  // the picture before, black before the first
  double FLast = 0;
};

int64_t PicturesOf(const TSegmentList& segments) {
  int64_t pictures = 0;
  for (int32_t i = 0; i < segments.Count(); ++i) pictures += std::max(segments.Get(i)->FrameCount, 0);
  return pictures;
}

double SecondsOf(const TSegmentList& segments) {
  double seconds = 0;
  for (int32_t i = 0; i < segments.Count(); ++i)
    seconds +=
        double(std::max(segments.Get(i)->FrameCount, 0)) / std::max<int32_t>(segments.Get(i)->FramesPerSecond, 1);
  return seconds;
}
}  // namespace

TTextIndex IndexFilm(const IndexRequest& request) {
  KofSession session(request.unpackFolder);
  if (!InspectFilm(request.film.string(), session.segments, session.tempFolder)) throw EkoError("not a film");
  TTextIndex index;
  index.Film = request.film.filename().string();
  index.FilmBytes = int64_t(fs::file_size(request.film));
  index.Languages = request.languages;
  ScreenReader reader(request.languages);
  ProgressLine progress(PicturesOf(session.segments), SecondsOf(session.segments));
  for (int32_t i = 0; i < session.segments.Count(); ++i) {
    const TSegmentInfo& info = *session.segments.Get(i);
    index.Segments.push_back({std::max(info.Width, 1), std::max(info.Height, 1)});
    if (const std::string why = WhyNotDrawable(info); !why.empty()) {
      std::fprintf(stderr, "kof: segment %d has no words: %s\n", i + 1, why.c_str());
      continue;
    }
    SegmentWalk walk(i + 1, info, reader);
    THeadlessPlayer player(session.segments);
    player.SetCursorVisible(false);
    int32_t last = -1;
    const std::string failure = player.PlaySegment(i, [&](int32_t frame, const TkoPictureView& picture) {
      ThrowIfInterrupted();
      if (frame == last) return true;
      last = frame;
      walk.Picture(frame, picture);
      progress.Advance(1.0 / std::max<int32_t>(info.FramesPerSecond, 1));
      return true;
    });
    if (!failure.empty()) std::fprintf(stderr, "kof: segment %d: %s\n", i + 1, failure.c_str());
    for (TIndexedWord& word : walk.Finish(info.FrameCount)) index.Words.push_back(std::move(word));
  }
  return index;
}

void WriteTextIndex(const TTextIndex& index, const fs::path& out) {
  const fs::path temporary = TemporaryOutput(out, ::getpid());
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
