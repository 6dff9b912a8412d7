#include "film/film_loader.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "film/ko_error.h"
#include "film/little_endian.h"
#include "film/round_half_even.h"
#include "film/safe_format.h"

TSegmentHeader ParseSegmentHeader(const uint8_t (&bytes)[kSegmentHeaderSize]) {
  TSegmentHeader header;
  header.Version = bytes[0];
  header.Width = ReadI32LE(bytes + 1);
  header.Height = ReadI32LE(bytes + 5);
  header.BitsPerPixel = bytes[9];
  const uint32_t rateBits = ReadU32LE(bytes + 10);
  std::memcpy(&header.FramesPerSecond, &rateBits, 4);
  header.Flags = ReadU32LE(bytes + 14);
  header.FrameCount = ReadI32LE(bytes + 18);
  header.CursorCount = ReadI32LE(bytes + 22);
  header.CursorTrackSize = ReadI32LE(bytes + 26);
  header.ExtraSize = ReadI32LE(bytes + 30);
  header.FrameDataSize = ReadI32LE(bytes + 34);
  header.PackedSize = ReadI32LE(bytes + 38);
  header.PackedOffset = ReadI32LE(bytes + 42);
  header.SoundSize = ReadI32LE(bytes + 46);
  header.SoundOffset = ReadI32LE(bytes + 50);
  return header;
}

uint8_t RoundFramesPerSecond(float framesPerSecond) {
  if (!std::isfinite(framesPerSecond)) return 0;
  return static_cast<uint8_t>(static_cast<uint64_t>(RoundHalfEven(framesPerSecond)) & 0xFF);
}

std::optional<int32_t> ReadI32At(TkoStream& stream, int64_t position) {
  uint8_t bytes[4];
  if (position < 0 || position > INT32_MAX || stream.SetPosition(static_cast<int32_t>(position)) != position ||
      stream.Read(bytes, 4) != 4)
    return std::nullopt;
  return ReadI32LE(bytes);
}

std::string ReadLanguageBlock(const std::filesystem::path& imagePath) {
  TkoFileStream image(imagePath, kModeReadShared);
  const int64_t fileSize = image.GetSize();
  const std::optional<int32_t> filmLength = ReadI32At(image, fileSize - 4);
  if (!filmLength || *filmLength < 0) return {};
  const int64_t lengthAt = fileSize - *filmLength - 8;
  const int32_t length = ReadI32At(image, lengthAt).value_or(0);
  if (length <= 0 || lengthAt - length < 0) return {};
  std::string block(static_cast<size_t>(length), '\0');
  image.SetPosition(static_cast<int32_t>(lengthAt - length));
  if (image.Read(block.data(), length) != length) return {};
  return block;
}

TFilmLoader::TFilmLoader(TSegmentList& segments, std::filesystem::path tempFolder)
    : FSegments(segments), FTempFolder(std::move(tempFolder)) {}

void TFilmLoader::SetInvalidVersionFormat(const std::string& format) {
  FInvalidVersionFormat = IsSafeFormat(format, 'd') ? format : kDefaultInvalidVersionFormat;
}

void TFilmLoader::Report(int32_t segmentNumber, const std::string& problem) {
  FDamage.push_back(segmentNumber > 0 ? FormatText("Segment %d: %s", segmentNumber, problem.c_str())
                                      : "Film: " + problem);
}

std::optional<int64_t> AppendedFilmStart(TkoStream& stream) {
  const int64_t fileSize = stream.GetSize();
  const int32_t filmLength = ReadI32At(stream, fileSize - 4).value_or(0);
  const int64_t filmStart = fileSize - filmLength - 4;
  if (filmLength <= 0 || filmStart < 0) return std::nullopt;
  // A film's index lies inside the film: a trailer that leads to anything else is a
  // file's last bytes that happen to look like one (a plain player, any other file).
  const int32_t announced = ReadI32At(stream, filmStart).value_or(0);
  if (announced > 0 && 4 + int64_t{announced} * kIndexEntrySize > filmLength) return std::nullopt;
  return filmStart;
}

bool TFilmLoader::LoadAppendedFilm(TkoStream* stream) {
  if (!stream) return false;
  const int64_t fileSize = stream->GetSize();
  const int32_t filmLength = ReadI32At(*stream, fileSize - 4).value_or(0);
  if (filmLength > 0 && fileSize - filmLength - 4 < 0) {
    FWarningText.clear();
    FDamage.clear();
    Report(0, FormatText("the trailer gives a film length of %d bytes, more than the file holds", filmLength));
    return false;
  }
  const std::optional<int64_t> filmStart = AppendedFilmStart(*stream);
  if (!filmStart) return false;
  stream->SetPosition(static_cast<int32_t>(*filmStart));
  return LoadFilm(stream);
}

TFilmIndexExtent ReadFilmIndexExtent(TkoStream& stream, int64_t filmStart) {
  TFilmIndexExtent extent;
  extent.Announced = ReadI32At(stream, filmStart).value_or(0);
  if (extent.Announced <= 0) return extent;
  // Only the entries the file holds are read, instead of taking the rest as zeros.
  const int64_t room = std::max<int64_t>(0, (stream.GetSize() - filmStart - 4) / kIndexEntrySize);
  extent.Held = std::min<int64_t>(extent.Announced, room);
  return extent;
}

namespace {
constexpr int64_t kIndexChunkEntries = 4096;

TFilmIndexEntry ParseIndexEntry(TkoStream& stream, const uint8_t* bytes, int64_t filmStart, int32_t number) {
  TFilmIndexEntry entry;
  entry.Number = number;
  entry.Kind = ReadU16LE(bytes + 4);
  entry.HeaderPosition = filmStart + ReadU32LE(bytes);
  uint8_t header[kSegmentHeaderSize];
  if (entry.Kind == kIndexKindSegment && entry.HeaderPosition + kSegmentHeaderSize <= stream.GetSize() &&
      stream.SetPosition(static_cast<int32_t>(entry.HeaderPosition)) == entry.HeaderPosition &&
      stream.Read(header, kSegmentHeaderSize) == kSegmentHeaderSize)
    entry.Header = ParseSegmentHeader(header);
  return entry;
}
}  // namespace

TFilmIndexExtent WalkFilmIndex(TkoStream& stream, int64_t filmStart,
                               const std::function<void(const TFilmIndexEntry&)>& visit) {
  const TFilmIndexExtent extent = ReadFilmIndexExtent(stream, filmStart);
  std::vector<uint8_t> chunk;
  for (int64_t first = 0; first < extent.Held; first += kIndexChunkEntries) {
    const int64_t count = std::min(kIndexChunkEntries, extent.Held - first);
    chunk.resize(static_cast<size_t>(count * kIndexEntrySize));
    const int64_t position = filmStart + 4 + first * kIndexEntrySize;
    // The visitor moves the stream: every chunk is sought anew.
    if (stream.SetPosition(static_cast<int32_t>(position)) != position ||
        stream.Read(chunk.data(), static_cast<int32_t>(chunk.size())) != static_cast<int32_t>(chunk.size()))
      break;
    for (int64_t i = 0; i < count; ++i)
      visit(ParseIndexEntry(stream, &chunk[static_cast<size_t>(i * kIndexEntrySize)], filmStart,
                            static_cast<int32_t>(first + i + 1)));
  }
  return extent;
}

bool TFilmLoader::LoadFilm(TkoStream* stream) {
  if (!stream) return false;
  FWarningText.clear();
  FDamage.clear();
  const int64_t filmStart = stream->GetPosition();
  const TFilmIndexExtent extent = ReadFilmIndexExtent(*stream, filmStart);
  if (extent.Announced <= 0) return false;
  if (extent.Held < extent.Announced)
    Report(0, FormatText("the index announces %d segments, the file holds %lld index entries", extent.Announced,
                         static_cast<long long>(extent.Held)));
  WalkFilmIndex(*stream, filmStart, [&](const TFilmIndexEntry& entry) { LoadEntry(*stream, entry); });
  return true;
}

void TFilmLoader::LoadEntry(TkoStream& film, const TFilmIndexEntry& entry) {
  if (entry.Kind != kIndexKindSegment) return;
  if (!entry.Header) {
    FDamage.push_back(FormatText("Index entry %d: its header lies outside the file", entry.Number));
  } else if (!entry.LoadsAsSegment()) {
    FWarningText += FormatText(FInvalidVersionFormat.c_str(), entry.Number);
  } else {
    AddSegment(film, entry);
  }
}

void TFilmLoader::AddSegment(TkoStream& film, const TFilmIndexEntry& entry) {
  const TSegmentHeader& header = *entry.Header;
  TSegmentInfo& segment = *FSegments.Add();
  segment.Width = header.Width;
  segment.Height = header.Height;
  segment.BitsPerPixel = header.BitsPerPixel;
  segment.Flags = header.Flags;
  segment.FrameCount = header.FrameCount;
  segment.FramesPerSecond = RoundFramesPerSecond(header.FramesPerSecond);
  UnpackSegment(film, entry.HeaderPosition, header, segment, FSegments.Count());
}
