// Unpacking one segment of a film into the temporary folder: the packed block becomes
// the data file (cabinet or LZMA), the data file is walked, and an MP3 sound block is
// written out.
#include <algorithm>
#include <system_error>

#include "film/cab_member_name.h"
#include "film/film_loader.h"
#include "film/ko_cab.h"
#include "film/ko_cursor.h"
#include "film/ko_error.h"
#include "film/lzma_stage.h"
#include "film/temp_files.h"

namespace {
// True when [headerPosition + offset, + size) lies inside the file.
bool BlockInsideFile(int64_t headerPosition, int32_t offset, int32_t size, int64_t fileSize) {
  const int64_t start = headerPosition + offset;
  return size > 0 && start >= 0 && start + size <= fileSize;
}

// Copies size bytes at position of the film into a new file.
void CopyBlockToFile(TkoStream& film, int64_t position, int32_t size, const std::filesystem::path& target) {
  TkoFileStream out(target, kModeCreate);
  film.SetPosition(static_cast<int32_t>(position));
  out.CopyFrom(film, size);
}
}  // namespace

uint64_t DataFileLimit(const TSegmentHeader& header) {
  constexpr uint64_t kMaxCursorRecord = TkoCursor::kEmptyRecordSize + 2ull * TkoCursor::kMaxBitsSize;
  auto positive = [](int32_t v) { return static_cast<uint64_t>(v > 0 ? v : 0); };
  const uint64_t limit = 4 + kMaxNameBlock + positive(header.CursorCount) * kMaxCursorRecord +
                         positive(header.FrameDataSize) + positive(header.CursorTrackSize) +
                         positive(header.ExtraSize);
  // Streams are 32-bit: a larger data file could not be walked anyway.
  return std::min<uint64_t>(limit, INT32_MAX);
}

// Without a folder nothing may be written anywhere: a file is refused as a folder that
// cannot hold it would refuse it.
std::filesystem::path TFilmLoader::TempFileName(const std::string& extension) const {
  if (FTempFolder.empty()) throw EkoError("Cannot open or create file.");
  return MakeTempFileName(extension, FTempFolder);
}

bool TFilmLoader::UnpackSegment(TkoStream& film, int64_t headerPosition, const TSegmentHeader& header,
                                TSegmentInfo& segment, int32_t segmentNumber) {
  std::string problem;
  try {
    problem = UnpackAndWalk(film, headerPosition, header, segment);
  } catch (const std::bad_alloc&) {
    // Whatever was made for the segment went with its owners; it stays without data.
    problem = "it does not fit in memory";
  }
  if (!problem.empty()) {
    if (segment.Problem.empty()) segment.Problem = problem;
    Report(segmentNumber, problem);
  }
  WriteSound(film, headerPosition, header, segment, segmentNumber);
  return true;
}

// The packed block made into the data file and walked; returns what went wrong.
std::string TFilmLoader::UnpackAndWalk(TkoStream& film, int64_t headerPosition, const TSegmentHeader& header,
                                       TSegmentInfo& segment) {
  std::string problem;
  TTempPath dataFile = UnpackBlock(film, headerPosition, header, problem);
  if (dataFile.Empty()) return problem;
  std::error_code error;
  if (!std::filesystem::is_regular_file(dataFile.Path(), error)) return "its data file could not be extracted";
  auto stream = std::make_unique<TkoFileStream>(dataFile.Path(), kModeReadExclusive);
  const TDataFileSizes sizes{header.CursorCount, header.FrameDataSize, header.CursorTrackSize, header.ExtraSize};
  // From here the walk owns the file: it keeps it for the segment or deletes it.
  return WalkDataFile(std::move(stream), dataFile.Release(), sizes, segment);
}

// The data file made from the packed block, or an empty path with the reason in
// problem. The block is copied to a "cab" file first, which is deleted on return.
TTempPath TFilmLoader::UnpackBlock(TkoStream& film, int64_t headerPosition, const TSegmentHeader& header,
                                   std::string& problem) {
  const uint32_t packing = header.Flags & kPackingMask;
  if (packing != kPackingCabinet && packing != kPackingLzma) {
    problem = FormatText("its packing 0x%04X is not known", packing);
    return {};
  }
  if (header.PackedSize <= 0) {
    problem = "it has no packed block";
    return {};
  }
  if (!BlockInsideFile(headerPosition, header.PackedOffset, header.PackedSize, film.GetSize())) {
    problem = FormatText("its packed block (%d bytes at %d) lies outside the file", header.PackedSize,
                         header.PackedOffset);
    return {};
  }
  const TTempPath packed(TempFileName("cab"));
  CopyBlockToFile(film, headerPosition + header.PackedOffset, header.PackedSize, packed.Path());

  const uint64_t limit = DataFileLimit(header);
  if (packing == kPackingCabinet) return UnpackCabinet(packed.Path(), limit, problem);
  TTempPath output(TempFileName("~7z"));
  const TLzmaResult decoded = DecodeLzmaFile(packed.Path(), output.Path(), limit);
  if (decoded.Ok) return output;
  problem = decoded.Problem;
  return {};
}

// Extracts the cabinet into a folder of its own and moves the last listed member, the
// data file, into the temporary folder. The private folder keeps a member from being
// written over another segment's data file (extraction does not truncate) and takes
// every other member away with it.
TTempPath TFilmLoader::UnpackCabinet(const std::filesystem::path& packed, uint64_t limit, std::string& problem) {
  TkoCabReader reader;
  reader.SetMemberSizeLimit(limit);
  std::string lastName;
  bool lastUtf8 = false;
  bool listed = false;
  bool isCabinet = false;
  try {
    isCabinet = reader.EnumFiles(packed, [&](TkoCabReader&, const std::string& name, uint32_t, uint16_t, uint16_t,
                                             uint16_t, uint16_t attributes, bool&) {
      lastName = name;
      lastUtf8 = (attributes & kCabNameIsUtf8) != 0;
      listed = true;
    });
  } catch (const EkoCabinet&) {
    throw;  // the cabinet library cannot be used: no later segment could be extracted either
  } catch (const EkoError&) {
    // A member list cut short, beyond the end or with an overlong name: this segment's damage.
    problem = "its cabinet's member list is damaged";
    return {};
  }
  if (!isCabinet) {
    problem = "its packed block is not a cabinet";
    return {};
  }
  if (!listed) {
    problem = "its cabinet holds no member";
    return {};
  }
  if (!IsPlainMemberFileName(lastName, lastUtf8)) {
    problem = "its cabinet member has no plain file name";
    return {};
  }
  std::filesystem::path folderPath = packed;
  const TTempPath folder(folderPath.replace_extension("x"));
  std::error_code error;
  std::filesystem::create_directory(folder.Path(), error);
  // A segment's cabinet is a single one; following a set could only pick up another
  // member of this very cabinet.
  reader.ExtractFiles(packed, folder.Path(), kCabOnlyThisCabinet);

  const std::optional<std::filesystem::path> extracted = MemberTargetPath(folder.Path(), lastName, lastUtf8);
  if (!extracted || !std::filesystem::is_regular_file(*extracted, error)) {
    problem = "its cabinet could not be extracted";
    return {};
  }
  std::filesystem::path target = FTempFolder / extracted->filename();
  // Two segments must not share a member name; if they do, the later one gets a
  // fresh name rather than replacing the open data file of the earlier one.
  if (std::filesystem::exists(target, error)) target = TempFileName("dat");
  std::filesystem::rename(*extracted, target, error);
  if (error) {
    problem = "its data file could not be moved into the temporary folder";
    return {};
  }
  return TTempPath(target);
}

void TFilmLoader::WriteSound(TkoStream& film, int64_t headerPosition, const TSegmentHeader& header,
                             TSegmentInfo& segment, int32_t segmentNumber) {
  if (header.SoundSize <= 0 || (header.Flags & kSoundKindMask) != static_cast<uint32_t>(kSoundMp3)) return;
  if (!BlockInsideFile(headerPosition, header.SoundOffset, header.SoundSize, film.GetSize())) {
    Report(segmentNumber, FormatText("its sound block (%d bytes at %d) lies outside the file", header.SoundSize,
                                     header.SoundOffset));
    return;
  }
  // Recorded before the file is made, so the list deletes it even when the copy fails.
  segment.SoundFilePath = TempFileName("mp3");
  CopyBlockToFile(film, headerPosition + header.SoundOffset, header.SoundSize, segment.SoundFilePath);
}
