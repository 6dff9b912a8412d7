#include "film_report.h"

#include "film/ko_stream.h"

namespace {
// A film starts at `start` when its count is positive and its index fits in the file.
bool HoldsFilm(TkoStream& stream, int64_t start) {
  const int64_t count = ReadI32At(stream, start).value_or(0);
  return count > 0 && start + 4 + count * kIndexEntrySize <= stream.GetSize();
}

std::optional<int64_t> FilmStartBehindTrailer(TkoStream& stream) {
  const int64_t size = stream.GetSize();
  if (size < 8) return std::nullopt;
  const int64_t length = ReadI32At(stream, size - 4).value_or(0);
  const int64_t start = size - length - 4;
  if (length <= 0 || start < 0 || !HoldsFilm(stream, start)) return std::nullopt;
  return start;
}

// The index as the loader reads it, each segment entry paired with the record the
// loader made for it (it makes them in index order).
std::vector<SegmentReport> DescribeSegments(TkoStream& stream, int64_t start, const TSegmentList& segments) {
  std::vector<SegmentReport> reports;
  int32_t next = 0;
  for (const TFilmIndexEntry& entry : ReadFilmIndex(stream, start).Entries) {
    SegmentReport& report = reports.emplace_back();
    report.index = entry.Number;
    report.kind = entry.Kind;
    report.header = entry.Header;
    if (entry.LoadsAsSegment()) report.loaded = segments.Get(next++);
  }
  return reports;
}
}  // namespace

std::optional<FilmReport> InspectFilm(const std::filesystem::path& path, TSegmentList& segments,
                                      const std::filesystem::path& tempFolder) {
  TkoFileStream stream(path, kModeReadShared);
  FilmReport report;
  if (const auto start = FilmStartBehindTrailer(stream)) {
    report.viaTrailer = true;
    report.filmOffset = *start;
    report.language = ReadLanguageBlock(path);
  } else if (!HoldsFilm(stream, 0)) {
    return std::nullopt;
  }

  TFilmLoader loader(segments, tempFolder);
  stream.SetPosition(static_cast<int32_t>(report.filmOffset));
  if (!loader.LoadFilm(&stream)) return std::nullopt;
  if (!loader.WarningText().empty()) report.warnings.push_back(loader.WarningText());
  report.warnings.insert(report.warnings.end(), loader.Damage().begin(), loader.Damage().end());
  report.segments = DescribeSegments(stream, report.filmOffset, segments);
  return report;
}

const char* PackingName(uint32_t flags) {
  switch (flags & kPackingMask) {
    case kPackingCabinet: return "cab";
    case kPackingLzma: return "lzma";
    default: return "none";
  }
}
