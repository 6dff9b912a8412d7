#include "film_report.h"

#include <cstring>

#include "film/ko_stream.h"

namespace {
int32_t ReadI32At(TkoStream& stream, int64_t position) {
  int32_t value = 0;
  if (position < 0 || stream.SetPosition(static_cast<int32_t>(position)) != position) return 0;
  if (stream.Read(&value, 4) != 4) return 0;
  return value;
}

// A film starts at `start` when its count is positive and its index fits in the file.
bool HoldsFilm(TkoStream& stream, int64_t start) {
  const int64_t count = ReadI32At(stream, start);
  return count > 0 && start + 4 + count * kIndexEntrySize <= stream.GetSize();
}

std::optional<int64_t> FilmStartBehindTrailer(TkoStream& stream) {
  const int64_t size = stream.GetSize();
  if (size < 8) return std::nullopt;
  const int64_t length = ReadI32At(stream, size - 4);
  const int64_t start = size - length - 4;
  if (length <= 0 || start < 0 || !HoldsFilm(stream, start)) return std::nullopt;
  return start;
}

std::vector<SegmentReport> ReadIndex(TkoStream& stream, int64_t start) {
  std::vector<SegmentReport> reports;
  const int64_t size = stream.GetSize();
  const int32_t count = ReadI32At(stream, start);
  for (int32_t i = 0; i < count && start + 4 + int64_t{i + 1} * kIndexEntrySize <= size; ++i) {
    uint8_t entry[kIndexEntrySize];
    stream.SetPosition(static_cast<int32_t>(start + 4 + int64_t{i} * kIndexEntrySize));
    stream.Read(entry, kIndexEntrySize);
    SegmentReport report;
    report.index = i + 1;
    report.kind = static_cast<uint16_t>(entry[4] | entry[5] << 8);
    uint32_t offset = 0;
    std::memcpy(&offset, entry, 4);
    const int64_t headerPosition = start + offset;
    uint8_t bytes[kSegmentHeaderSize];
    if (headerPosition + kSegmentHeaderSize <= size &&
        stream.SetPosition(static_cast<int32_t>(headerPosition)) == headerPosition &&
        stream.Read(bytes, kSegmentHeaderSize) == kSegmentHeaderSize)
      report.header = ParseSegmentHeader(bytes);
    reports.push_back(report);
  }
  return reports;
}

// The loader appends a record for every segment entry whose header it could read and
// whose version it plays, in index order.
void MatchLoadedSegments(std::vector<SegmentReport>& reports, const TSegmentList& segments) {
  int32_t next = 0;
  for (SegmentReport& report : reports) {
    if (report.kind != kIndexKindSegment || !report.header || report.header->Version > 1) continue;
    report.loaded = segments.Get(next++);
  }
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
  report.segments = ReadIndex(stream, report.filmOffset);
  MatchLoadedSegments(report.segments, segments);
  return report;
}

const char* PackingName(uint32_t flags) {
  switch (flags & kPackingMask) {
    case kPackingCabinet: return "cab";
    case kPackingLzma: return "lzma";
    default: return "none";
  }
}
