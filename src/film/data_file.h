#pragma once
// A segment's data file: name block, cursor records, frame records, cursor track and
// extra block, back to back. The counts and sizes needed to walk it come from the
// segment header in the film. Every size is checked against the file before anything
// is read or skipped.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>

#include "film/ko_stream.h"
#include "film/segment_list.h"

// The segment header values that steer the walk (values <= 0 count as 0).
struct TDataFileSizes {
  int32_t CursorCount = 0;
  int32_t FrameDataSize = 0;
  int32_t CursorTrackSize = 0;
  int32_t ExtraSize = 0;
};

// Largest name block: one length byte and up to 255 characters.
constexpr int32_t kMaxNameBlock = 256;
// Smallest cursor record: both bitmap descriptions without bits.
constexpr int32_t kMinCursorRecord = 34;

// The load-time walk over an open data file at path. Reads the name, the cursor
// records (through TkoCursor::Load), remembers the first frame record's position,
// skips the frame data and reads the cursor track and the extra block into the
// segment's memory streams.
//
// With frame data the segment keeps the stream as its frame stream, positioned at the
// first frame record, and records path (any earlier frame stream is released). Without frame data, or when the file is
// damaged, the stream is closed and the file deleted, and the segment has no frame
// stream. Damage (a name length outside 1..256, more cursor records than the file can
// hold, a cursor record running past the end, blocks running past the end of the
// file) is returned as a description and also stored in segment.Problem; the name
// stays when its block was intact, the cursors, track and extra block are dropped.
// Returns "" when the walk succeeded.
std::string WalkDataFile(std::unique_ptr<TkoFileStream> stream, const std::filesystem::path& path,
                         const TDataFileSizes& sizes, TSegmentInfo& segment);

// Bytes the frame buffer needs for a segment of width × height pixels: 8 + 5 × W × H
// (one run per pixel), or 0 when a side is not positive or the size would not fit the
// 32-bit record size field.
size_t FrameBufferSize(int32_t width, int32_t height);

// What was wrong with a record LoadFrame could read or step over.
enum class TFrameRecordDamage : uint8_t {
  kNone,
  kRunCount,  // its size disagrees with its run count (8 + 5 × R); read as it is
  kTooLarge,  // larger than the frame buffer; stepped over, nothing of it read
};

struct TLoadFrameResult {
  // The stream stands at the next record: playback can go on.
  bool Ok = false;
  TFrameRecordDamage Damage = TFrameRecordDamage::kNone;
  // Without Ok: the text to show, empty for a silent failure. With damage: a
  // one-line English description of it for the user.
  std::string Message;
};

// Reads the segment's next frame record into frame, size field first.
//
// Damaged records that can be stepped over do not stop the reading: a record larger
// than frame whose bytes are all in the file is skipped (kTooLarge; frame is not
// written), and one whose size disagrees with its run count is read as it is
// (kRunCount; laying it uses only the runs inside its bytes).
//
// Fails with "LoadFrame: Frame = nil" when frame is empty, silently when segment is
// null, "LoadFrame: no frame stream" when the segment has none, "LoadFrame: Size = 0"
// for a size field <= 0, "LoadFrame: BytesRead <> size" when the file ends inside the
// record, and "LoadFrame: damaged frame record (size %d)" for a size of 1 to 7, too
// small for the record's own head. Never writes past frame.
TLoadFrameResult LoadFrame(TSegmentInfo* segment, std::span<uint8_t> frame);
