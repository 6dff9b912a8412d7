#pragma once
// The in-memory model of a loaded film: one TSegmentInfo per segment, the owning
// TSegmentList the loader fills and everyone else reads by index, a segment's cursor
// images (TCursorList), the player's event publisher and the sound-file type codes.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "film/ko_stream.h"

class TkoCursor;

// A number no segment record made before in this run has had: freed records' addresses
// come back, so whoever keeps data about a segment (the seek index) tells them apart
// by this.
uint64_t NewSegmentSerial();

// Owns a segment's decoded cursor images, in the order of the data file.
class TCursorList {
public:
  TCursorList();
  ~TCursorList();
  TCursorList(const TCursorList&) = delete;
  TCursorList& operator=(const TCursorList&) = delete;

  // Frees every cursor.
  void Clear();
  int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
  // Takes ownership and returns the new cursor's index; a null cursor is kept as a
  // slot that yields no cursor.
  int32_t Add(std::unique_ptr<TkoCursor> cursor);
  // The cursor at index, or nullptr when the index is outside 0 .. Count() - 1.
  TkoCursor* Item(int32_t index) const;

private:
  std::vector<std::unique_ptr<TkoCursor>> FItems;
};

// One segment. Created empty by TSegmentList::Add; the loader fills the header values,
// the data-file walk the rest.
struct TSegmentInfo {
  static constexpr size_t kMaxNameLength = 255;

  int32_t Width = 0;
  int32_t Height = 0;
  uint8_t BitsPerPixel = 0;
  int32_t FrameCount = 0;
  // Rounded to the nearest integer, halves to even; 0 means the segment has no rate.
  uint8_t FramesPerSecond = 0;
  // Display name from the data file, at most kMaxNameLength bytes, ANSI code page.
  std::string Name;
  uint32_t Flags = 0;
  TCursorList Cursors;
  // The open data file; null when the segment has no frames to play.
  std::unique_ptr<TkoFileStream> FrameStream;
  TkoMemoryStream CursorTrack;
  TkoMemoryStream Extra;
  // Set exactly when FrameStream is; the file is deleted with the record.
  std::filesystem::path DataFilePath;
  // The extracted MP3 file, or empty.
  std::filesystem::path SoundFilePath;
  int32_t FirstFrameOffset = 0;

  // Why the segment's data could not be used (damaged or unsupported packing);
  // empty when nothing went wrong while loading it.
  std::string Problem;
  // Playback sets this once it has told the user that the segment is skipped, so an
  // unplayable segment is reported once and not at every tick.
  bool SkipReported = false;
  const uint64_t Serial = NewSegmentSerial();

  // A segment can be played from its records only with a frame stream and a rate.
  bool Playable() const { return FrameStream != nullptr && FramesPerSecond > 0; }
};

// The film's segments, in playing order. Owns the records and everything they own.
class TSegmentList {
public:
  static constexpr int32_t kGrowthStep = 16;

  TSegmentList() = default;
  ~TSegmentList();
  TSegmentList(const TSegmentList&) = delete;
  TSegmentList& operator=(const TSegmentList&) = delete;

  // Appends an empty record (capacity grows by kGrowthStep when full) and returns it.
  TSegmentInfo* Add();
  // The record at index, or nullptr when index < 0, index >= Count() or the slot has
  // been freed.
  TSegmentInfo* Get(int32_t index) const;
  // Closes the record's streams, then deletes its data file and sound file when they
  // exist (failures are ignored), and frees the record. Count() stays; a freed or
  // out-of-range slot is ignored.
  void FreeItem(int32_t index);
  // FreeItem for every record, then Count() and Capacity() 0.
  void Clear();

  int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
  int32_t Capacity() const { return FCapacity; }

private:
  std::vector<std::unique_ptr<TSegmentInfo>> FItems;
  int32_t FCapacity = 0;
};

// Sound-file type codes, as in bits 8-11 of a segment's flags.
constexpr int32_t kSoundWave = 0x000;
constexpr int32_t kSoundMp3 = 0x100;
constexpr int32_t kSoundMidi = 0x200;

// The code for the extension of the path's last component (".wav", ".mp3", ".mid",
// compared ignoring ASCII case); kSoundWave for any other extension or none.
int32_t GetSoundType(const std::filesystem::path& fileName);
