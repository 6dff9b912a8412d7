#include "film/data_file.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <system_error>

#include "film/ko_cursor.h"
#include "film/ko_error.h"
#include "film/little_endian.h"
#include "film/temp_files.h"

namespace {
int32_t Positive(int32_t value) { return value > 0 ? value : 0; }

// Copies a block of count bytes into a memory stream, after checking that the file
// holds it. Returns a problem text or "".
std::string ReadBlock(TkoFileStream& stream, int64_t fileSize, int32_t count, TkoMemoryStream& target,
                      const char* what) {
  if (count <= 0) return {};
  const int64_t position = stream.GetPosition();
  if (position < 0 || position + count > fileSize)
    return FormatText("the %s (%d bytes) runs past the end of the data file", what, count);
  try {
    target.SetCapacity(count);  // the file holds count bytes: no more is reserved
    target.CopyFrom(stream, count);
  } catch (const EkoError&) {
    return FormatText("the %s cannot be read", what);
  }
  target.SetPosition(0);
  return {};
}

std::string Walk(TkoFileStream& stream, const TDataFileSizes& sizes, TSegmentInfo& segment) {
  const int64_t fileSize = stream.GetSize();
  int32_t nameLength = 0;
  if (stream.Read(&nameLength, 4) != 4) return "the data file ends inside its name length";
  if (nameLength < 1 || nameLength > kMaxNameBlock)
    return FormatText("the name block length %d is outside 1..%d", nameLength, kMaxNameBlock);
  uint8_t block[kMaxNameBlock] = {};
  if (stream.Read(block, nameLength) != nameLength) return "the data file ends inside its name block";
  // The length byte cannot claim more characters than the block holds.
  segment.Name.assign(reinterpret_cast<const char*>(block + 1),
                      std::min<size_t>(block[0], static_cast<size_t>(nameLength - 1)));

  // Every cursor record takes at least kMinCursorRecord bytes: a count the file cannot
  // hold is refused before any cursor is made.
  const int32_t cursorCount = Positive(sizes.CursorCount);
  if (cursorCount > (fileSize - stream.GetPosition()) / kMinCursorRecord)
    return FormatText("the data file is too short for its %d cursor records", cursorCount);
  for (int32_t i = 0; i < cursorCount; ++i) {
    auto cursor = std::make_unique<TkoCursor>();
    // A cursor that fails to load stays in the list and draws nothing; but when its
    // record could not even be stepped over, nothing behind it can be found.
    cursor->Load(stream);
    const bool consumed = cursor->RecordConsumed();
    const std::string damage = cursor->Damage();
    segment.Cursors.Add(std::move(cursor));
    if (!consumed) return FormatText("cursor record %d is damaged (%s)", i + 1, damage.c_str());
    const int64_t position = stream.GetPosition();
    if (position < 0 || position > fileSize)
      return FormatText("cursor record %d runs past the end of the data file", i + 1);
  }

  const int32_t frameDataSize = Positive(sizes.FrameDataSize);
  if (frameDataSize > 0) {
    const int64_t first = stream.GetPosition();
    if (first < 0 || first + frameDataSize > fileSize)
      return FormatText("the frame records (%d bytes) run past the end of the data file", frameDataSize);
    segment.FirstFrameOffset = static_cast<int32_t>(first);
    stream.SetPosition(static_cast<int32_t>(first + frameDataSize));
  }
  std::string problem = ReadBlock(stream, fileSize, sizes.CursorTrackSize, segment.CursorTrack, "cursor track");
  if (problem.empty()) problem = ReadBlock(stream, fileSize, sizes.ExtraSize, segment.Extra, "extra block");
  return problem;
}
}  // namespace

std::string WalkDataFile(std::unique_ptr<TkoFileStream> stream, const std::filesystem::path& path,
                         const TDataFileSizes& sizes, TSegmentInfo& segment) {
  // Declared in this order so that the stream is closed before the file is deleted
  // (Windows keeps open files), also when an exception passes.
  TTempPath file(path);
  std::unique_ptr<TkoFileStream> open = std::move(stream);
  std::string problem;
  try {
    problem = Walk(*open, sizes, segment);
  } catch (const std::bad_alloc&) {
    problem = "the segment's cursors, cursor track and extra block do not fit in memory";
  }
  if (problem.empty() && sizes.FrameDataSize > 0) {
    open->SetPosition(segment.FirstFrameOffset);  // ready for the first LoadFrame
    segment.FrameStream = std::move(open);
    segment.DataFilePath = file.Release();
    return {};
  }
  open.reset();
  file.Reset();
  if (!problem.empty()) {
    segment.Cursors.Clear();
    segment.CursorTrack.SetCapacity(0);
    segment.Extra.SetCapacity(0);
    segment.FirstFrameOffset = 0;
    segment.FrameStream.reset();
    segment.DataFilePath.clear();
    segment.Problem = "damaged data file: " + problem;
  }
  return problem;
}

size_t FrameBufferSize(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return 0;
  const int64_t pixels = int64_t{width} * height;
  if (pixels > (std::numeric_limits<int32_t>::max() - 8) / 5) return 0;
  return static_cast<size_t>(8 + 5 * pixels);
}

namespace {
constexpr int32_t kRecordHead = 8;  // size field and run count
constexpr const char* kCutRecord = "LoadFrame: BytesRead <> size";

TLoadFrameResult Failed(std::string message) { return {false, TFrameRecordDamage::kNone, std::move(message)}; }

// Steps over a record too large for the frame buffer, its size field already read.
// Only a record the file holds whole is stepped over: one cut by the file's end
// leaves no next record to go on with.
TLoadFrameResult SkipRecord(TkoFileStream& stream, int32_t size, size_t bufferSize) {
  const int64_t position = stream.GetPosition();
  const int64_t next = position + size - 4;
  if (position < 4 || next > stream.GetSize() || stream.SetPosition(static_cast<int32_t>(next)) != next)
    return Failed(kCutRecord);
  return {true, TFrameRecordDamage::kTooLarge,
          FormatText("Damaged frame record: its %d bytes do not fit the frame buffer of %d; it was skipped.",
                     size, static_cast<int>(bufferSize))};  // bufferSize < size, so it fits
}
}  // namespace

TLoadFrameResult LoadFrame(TSegmentInfo* segment, std::span<uint8_t> frame) {
  if (frame.empty()) return Failed("LoadFrame: Frame = nil");
  if (!segment) return Failed({});
  if (!segment->FrameStream) return Failed("LoadFrame: no frame stream");
  TkoFileStream& stream = *segment->FrameStream;

  int32_t size = 0;
  const int32_t got = stream.Read(&size, 4);
  if (got == 0 || (got == 4 && size <= 0)) return Failed("LoadFrame: Size = 0");
  if (got != 4) return Failed(kCutRecord);
  if (size < kRecordHead) return Failed(FormatText("LoadFrame: damaged frame record (size %d)", size));
  if (static_cast<uint64_t>(size) > frame.size()) return SkipRecord(stream, size, frame.size());

  std::memcpy(frame.data(), &size, 4);
  if (stream.Read(frame.data() + 4, size - 4) != size - 4) return Failed(kCutRecord);
  const int32_t runCount = ReadI32LE(frame.data() + 4);
  if (int64_t{kRecordHead} + int64_t{5} * runCount != size)
    return {true, TFrameRecordDamage::kRunCount,
            FormatText("Damaged frame record: its size (%d bytes) does not match its run count (%d).", size,
                       runCount)};
  return {true, TFrameRecordDamage::kNone, {}};
}
