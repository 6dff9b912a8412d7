#include "kof_common/film_report.h"

#include "film/ko_error.h"
#include "film/ko_stream.h"
#include "playback/ko_picture.h"

namespace {
// A film starts at `start` when its count is positive and its index fits in the file.
bool HoldsFilm(TkoStream& stream, int64_t start) {
  const int64_t count = ReadI32At(stream, start).value_or(0);
  return count > 0 && start + 4 + count * kIndexEntrySize <= stream.GetSize();
}

}  // namespace

std::optional<FilmPlace> LocateFilm(TkoStream& stream) {
  const int64_t size = stream.GetSize();
  if (size >= 8) {
    const int64_t length = ReadI32At(stream, size - 4).value_or(0);
    const int64_t start = size - length - 4;
    if (length > 0 && start >= 0 && HoldsFilm(stream, start)) return FilmPlace{true, start, length};
  }
  if (HoldsFilm(stream, 0)) return FilmPlace{false, 0, size};
  return std::nullopt;
}

std::optional<FilmReport> InspectFilm(const std::filesystem::path& path, TSegmentList& segments,
                                      const std::filesystem::path& tempFolder) {
  TkoFileStream stream(path, kModeReadShared);
  FilmReport report;
  report.path = path;
  const std::optional<FilmPlace> place = LocateFilm(stream);
  if (!place) return std::nullopt;
  report.viaTrailer = place->viaTrailer;
  report.filmOffset = place->offset;
  if (place->viaTrailer) report.language = ReadLanguageBlock(path);

  TFilmLoader loader(segments, tempFolder);
  stream.SetPosition(static_cast<int32_t>(report.filmOffset));
  if (!loader.LoadFilm(&stream)) return std::nullopt;
  if (!loader.WarningText().empty()) report.warnings.push_back(loader.WarningText());
  report.warnings.insert(report.warnings.end(), loader.Damage().begin(), loader.Damage().end());
  report.entryCount = ReadFilmIndexExtent(stream, report.filmOffset).Held;
  return report;
}

void ForEachEntry(const FilmReport& report, const TSegmentList& segments,
                  const std::function<void(const EntryReport&)>& visit) {
  TkoFileStream stream(report.path, kModeReadShared);
  int32_t made = 0;  // the loader makes its records in index order
  WalkFilmIndex(stream, report.filmOffset, [&](const TFilmIndexEntry& entry) {
    EntryReport line;
    line.entry = entry.Number;
    line.kind = entry.Kind;
    line.header = entry.Header;
    if (entry.LoadsAsSegment()) {
      line.segment = ++made;
      line.loaded = segments.Get(made - 1);
    }
    visit(line);
  });
}

std::string EntryProblem(const EntryReport& entry) {
  if (entry.kind != kIndexKindSegment) return FormatText("an index entry of kind %u is not a segment", entry.kind);
  if (!entry.header) return "its header lies outside the file";
  if (entry.header->Version > 1) return "its version is later than the player's";
  return entry.loaded ? entry.loaded->Problem : "";
}

const char* PackingName(uint32_t flags) {
  switch (flags & kPackingMask) {
    case kPackingCabinet: return "cab";
    case kPackingLzma: return "lzma";
    default: return "none";
  }
}

