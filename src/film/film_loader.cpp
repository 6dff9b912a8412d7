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

bool TFilmLoader::LoadAppendedFilm(TkoStream* stream) {
  if (!stream) return false;
  const int64_t fileSize = stream->GetSize();
  const int32_t filmLength = ReadI32At(*stream, fileSize - 4).value_or(0);
  if (filmLength <= 0) return false;
  const int64_t filmStart = fileSize - filmLength - 4;
  if (filmStart < 0) {
    FWarningText.clear();
    FDamage.clear();
    Report(0, FormatText("the trailer gives a film length of %d bytes, more than the file holds", filmLength));
    return false;
  }
  stream->SetPosition(static_cast<int32_t>(filmStart));
  return LoadFilm(stream);
}

TFilmIndex ReadFilmIndex(TkoStream& stream, int64_t filmStart) {
  TFilmIndex index;
  const int64_t fileSize = stream.GetSize();
  const int32_t announced = ReadI32At(stream, filmStart).value_or(0);
  if (announced <= 0) return index;
  index.Announced = announced;
  // Only the entries the file holds are read, instead of taking the rest as zeros.
  const int64_t room = std::max<int64_t>(0, (fileSize - filmStart - 4) / kIndexEntrySize);
  std::vector<uint8_t> bytes(static_cast<size_t>(std::min<int64_t>(index.Announced, room)) * kIndexEntrySize);
  stream.Read(bytes.data(), static_cast<int32_t>(bytes.size()));

  for (size_t at = 0; at < bytes.size(); at += kIndexEntrySize) {
    TFilmIndexEntry& entry = index.Entries.emplace_back();
    entry.Number = static_cast<int32_t>(at / kIndexEntrySize + 1);
    entry.Kind = ReadU16LE(&bytes[at + 4]);
    entry.HeaderPosition = filmStart + ReadU32LE(&bytes[at]);
    if (entry.Kind != kIndexKindSegment) continue;
    uint8_t header[kSegmentHeaderSize];
    if (entry.HeaderPosition + kSegmentHeaderSize <= fileSize &&
        stream.SetPosition(static_cast<int32_t>(entry.HeaderPosition)) == entry.HeaderPosition &&
        stream.Read(header, kSegmentHeaderSize) == kSegmentHeaderSize)
      entry.Header = ParseSegmentHeader(header);
  }
  return index;
}

bool TFilmLoader::LoadFilm(TkoStream* stream) {
  if (!stream) return false;
  FWarningText.clear();
  FDamage.clear();
  const TFilmIndex index = ReadFilmIndex(*stream, stream->GetPosition());
  if (index.Announced <= 0) return false;
  if (index.Entries.size() < static_cast<size_t>(index.Announced))
    Report(0, FormatText("the index announces %d segments, the file holds %lld index entries", index.Announced,
                         static_cast<long long>(index.Entries.size())));

  for (const TFilmIndexEntry& entry : index.Entries) {
    if (entry.Kind != kIndexKindSegment) continue;
    if (!entry.Header) {
      Report(entry.Number, "its header lies outside the file");
    } else if (!entry.LoadsAsSegment()) {
      FWarningText += FormatText(FInvalidVersionFormat.c_str(), entry.Number);
    } else {
      AddSegment(*stream, entry);
    }
  }
  return true;
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
  UnpackSegment(film, entry.HeaderPosition, header, segment, entry.Number);
}
