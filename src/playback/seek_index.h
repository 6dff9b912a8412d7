#pragma once
// Random access within a segment. Frame records are differences, so the picture of
// frame k depends on every record before it. The index keeps, per segment:
//   - the file offset of every frame record, found as the records are first read;
//   - pictures of chosen frames (without the pointer), so that frame k is shown by
//     restoring the latest kept picture at or before k and laying the records after it.
//
// Pictures are placed by cost, not by frame count: every record laid adds its cost (its
// bytes, the bytes of the pixels it changes and a fixed part for reading it), and a
// picture is kept once the cost since the previous one reaches the segment's spacing.
// A quiet stretch of a lesson costs little and gets no pictures; a busy one gets many.
//
// All pictures of the film share one memory budget. When a new picture would exceed
// it, the segment holding the most picture bytes lets go of the picture whose
// neighbours lie closest together, and widens its spacing, until the new one fits.
// Pictures are kept deflated (zlib, fastest level); one that would not shrink is kept
// as it is.
//
// Segments are told apart by TSegmentInfo::Serial. Nothing here reads files.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "playback/ko_picture.h"

struct TSegmentInfo;

// What laying one record costs, in bytes touched: the record's bytes, the bytes of the
// pixels it changes, and a fixed part for reading it (kRecordReadCost).
constexpr int64_t kRecordReadCost = 24 * 1024;
constexpr int64_t RecordCost(int64_t recordBytes, int64_t changedPixels, int32_t bytesPerPixel) {
  return kRecordReadCost + recordBytes + changedPixels * bytesPerPixel;
}

// A kept picture as the index tells it: Frame -1 stands for the black picture before
// the segment's first record (cost 0).
struct TKeptPicture {
  int32_t Frame = -1;
  int64_t Cost = 0;
};

// A kept picture: packed (see picture_deflate.h), its bytes never changed once kept,
// so that two indexes can share them.
struct TStoredPicture {
  int32_t Frame = 0;
  int64_t Cost = 0;
  int32_t Width = 0, Height = 0, Depth = 0;
  bool Deflated = false;
  std::shared_ptr<const std::vector<uint8_t>> Bytes;

  size_t Size() const { return Bytes ? Bytes->size() : 0; }
};

// What an index knows of one segment, for another index over the same segment data (a
// second decoder): the record offsets in order and the kept pictures, bytes shared.
struct TSeekKnowledge {
  std::vector<int32_t> Offsets;
  int64_t NextOffset = -1;
  std::vector<TStoredPicture> Pictures;
};

class TkoSeekIndex {
public:
  static constexpr size_t kDefaultBudget = size_t{64} << 20;
  // A segment's first spacing between pictures, in picture sizes (W x H x bytes per
  // pixel): with typical screen changes about 1,000 records, laid in a few milliseconds.
  static constexpr int64_t kFirstSpacingInPictures = 8;

  explicit TkoSeekIndex(size_t budget = kDefaultBudget) : FBudget(budget) {}
  TkoSeekIndex(const TkoSeekIndex&) = delete;
  TkoSeekIndex& operator=(const TkoSeekIndex&) = delete;

  // Forgets every segment (another film).
  void Clear();
  // The budget for all kept pictures, in bytes; pictures beyond it go at once.
  void SetBudget(size_t bytes);

  // --- Record offsets ----------------------------------------------------------------
  // The record of segment that starts at offset was read and the stream then stood at
  // end. Returns its frame number when it is the first record (at the segment's first
  // frame offset), the record right after the last one known, or a record known
  // already; -1 when it is none of these (not read in order).
  int32_t NoteRecord(const TSegmentInfo& segment, int64_t offset, int64_t end);
  // The offset of record frame: known for the records read so far and for the one right
  // after them (frame 0 is always the segment's first frame offset); -1 otherwise.
  int64_t RecordOffset(const TSegmentInfo& segment, int32_t frame) const;
  int32_t KnownRecords(const TSegmentInfo& segment) const;

  // --- Pictures ----------------------------------------------------------------------
  // The latest kept picture at or before frame that has the size and depth of
  // picture; Frame -1 when there is none.
  TKeptPicture LatestAtOrBefore(const TSegmentInfo& segment, int32_t frame, const TkoPictureView& picture) const;
  // Copies the kept picture of frame into picture. Returns false, picture then
  // undefined, when none is kept for frame or it does not fit picture.
  bool Restore(const TSegmentInfo& segment, int32_t frame, const TkoPictureView& picture) const;
  // Record frame has just been laid on picture (which shows no pointer) and the records
  // 0 .. frame cost cost together. Keeps the picture when the cost since the previous
  // kept picture reaches the segment's spacing; thins pictures out to stay within the
  // budget. Out of memory, nothing is kept.
  void Offer(const TSegmentInfo& segment, int32_t frame, int64_t cost, const TkoPictureView& picture);

  // --- Sharing with a second decoder ---------------------------------------------------
  // What is known of segment; cheap (the pictures' bytes are shared, not copied).
  TSeekKnowledge Knowledge(const TSegmentInfo& segment) const;
  // Takes what another index learnt of the same segment data (here known as segment):
  // its record offsets when they reach further, and the pictures of frames not kept
  // here, within the budget.
  void Learn(const TSegmentInfo& segment, const TSeekKnowledge& knowledge);

  // --- Figures -----------------------------------------------------------------------
  size_t Budget() const { return FBudget; }
  // Bytes of all kept pictures now, and the most they have been.
  size_t PictureBytes() const { return FPictureBytes; }
  size_t PeakPictureBytes() const { return FPeakPictureBytes; }
  // The buffer pictures are deflated into (about one picture).
  size_t ScratchBytes() const { return FScratch.capacity(); }
  // Bytes of the record offsets of all segments.
  size_t OffsetBytes() const;
  int32_t PictureCount() const;
  int32_t PictureCount(const TSegmentInfo& segment) const;
  // The frames of the segment's kept pictures, in order.
  std::vector<int32_t> PictureFrames(const TSegmentInfo& segment) const;
  // The segment's spacing between pictures (0 before its first offer).
  int64_t Spacing(const TSegmentInfo& segment) const;

private:
  using TPicture = TStoredPicture;
  struct TSegmentEntry {
    int32_t FirstOffset = 0;
    std::vector<int32_t> Offsets;
    int64_t NextOffset = -1;
    std::vector<TPicture> Pictures;  // by frame
    int64_t Spacing = 0;
    int64_t CostSeen = 0;  // the highest cost offered: how far the records were laid
    size_t Bytes = 0;
  };

  const TSegmentEntry* Find(const TSegmentInfo& segment) const;
  TSegmentEntry& Entry(const TSegmentInfo& segment);
  static bool WantedAt(const TSegmentEntry& entry, int32_t frame, int64_t cost);
  bool MakeRoom(size_t bytes);
  void DropLeastNeeded(TSegmentEntry& entry);
  void DropPicture(TSegmentEntry& entry, size_t index);
  void Insert(TSegmentEntry& entry, TPicture picture);
  bool Capture(const TkoPictureView& picture, TPicture& kept);

  size_t FBudget;
  size_t FPictureBytes = 0;
  size_t FPeakPictureBytes = 0;
  std::unordered_map<uint64_t, TSegmentEntry> FSegments;
  std::vector<uint8_t> FScratch;
};
