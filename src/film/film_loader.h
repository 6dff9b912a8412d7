#pragma once
// The film container and its loader. A film is i32 N, N six-byte index entries (u32
// header offset from the film start, u16 kind; kind 1 is a segment), and per segment
// a 54-byte header that locates its packed data file and its sound block. A film
// reaches the player as a film file read from byte 0, or behind another file (a film
// executable, or a film file named on the command line) found through the i32 trailer
// at the end that gives the film's length.
//
// Every offset and length read from the film is checked against the file: a segment
// whose header or blocks lie outside it is reported as damaged and the rest of the
// film loads.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "film/data_file.h"
#include "film/ko_stream.h"
#include "film/segment_list.h"
#include "film/temp_files.h"

constexpr int32_t kSegmentHeaderSize = 54;
constexpr int32_t kIndexEntrySize = 6;
constexpr uint16_t kIndexKindSegment = 1;

constexpr uint32_t kPackingMask = 0xF000;
constexpr uint32_t kPackingCabinet = 0x0000;
constexpr uint32_t kPackingLzma = 0x2000;
constexpr uint32_t kSoundKindMask = 0x0F00;

// Built-in text of the "InvalidVersionFormat" warning (the shell may replace it from
// the language table); formatted with the segment's 1-based index position.
inline constexpr const char* kDefaultInvalidVersionFormat =
    "Сегмент %d имеет более позднюю версию, чем проигрыватель";

struct TSegmentHeader {
  uint8_t Version = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  uint8_t BitsPerPixel = 0;
  float FramesPerSecond = 0;
  uint32_t Flags = 0;
  int32_t FrameCount = 0;
  int32_t CursorCount = 0;
  int32_t CursorTrackSize = 0;
  int32_t ExtraSize = 0;
  int32_t FrameDataSize = 0;
  int32_t PackedSize = 0;
  int32_t PackedOffset = 0;  // from the header's first byte
  int32_t SoundSize = 0;
  int32_t SoundOffset = 0;   // from the header's first byte
};

// Decodes the 54 little-endian header bytes.
TSegmentHeader ParseSegmentHeader(const uint8_t (&bytes)[kSegmentHeaderSize]);

// The stored rate: rounded to the nearest integer, halves to even, low 8 bits of the
// result (12.5 gives 12, 13.5 gives 14, 0.4 gives 0). NaN and infinities give 0.
uint8_t RoundFramesPerSecond(float framesPerSecond);

// Largest data file a header's sizes allow: the name length field and the largest
// name block, each cursor record at the largest size the cursor reader accepts, the
// frame data, the cursor track and the extra block; at most 2^31 - 1 bytes. Bounds
// the LZMA output and the cabinet members.
uint64_t DataFileLimit(const TSegmentHeader& header);

// The i32 at position, or nothing when the stream cannot be read there (position
// outside the file, or fewer than 4 bytes left).
std::optional<int32_t> ReadI32At(TkoStream& stream, int64_t position);

// Where the film behind another file starts, found through the trailer X at the end
// (E − X − 4); nothing when the file has no trailer that leads to a film's index.
std::optional<int64_t> AppendedFilmStart(TkoStream& stream);

// The language block of a film executable: the L bytes before the film's length field
// (found through the trailer X at the end: L at E − X − 8, the block at E − X − L − 8).
// Returns "" when there is none or the fields point outside the file. Throws
// EkoError("Cannot open or create file.") when the file cannot be opened.
std::string ReadLanguageBlock(const std::filesystem::path& imagePath);

// One entry of a film's index.
struct TFilmIndexEntry {
  int32_t Number = 0;  // 1-based position in the index, ignored entries counted
  uint16_t Kind = 0;
  int64_t HeaderPosition = 0;
  // A segment entry's header; absent for other kinds and when it lies outside the file.
  std::optional<TSegmentHeader> Header;

  // The loader makes a segment record exactly for these: segment entries whose header
  // it could read, of a version it plays.
  bool LoadsAsSegment() const { return Kind == kIndexKindSegment && Header && Header->Version <= 1; }
};

// How much of a film's index there is: N as stored (<= 0 means no film) and the
// number of entries the file holds, at most N (an index cut short by the end of the
// file holds fewer).
struct TFilmIndexExtent {
  int32_t Announced = 0;
  int64_t Held = 0;
};
TFilmIndexExtent ReadFilmIndexExtent(TkoStream& stream, int64_t filmStart);

// Reads the index of the film at filmStart entry by entry, with the header of each
// segment entry, and hands every entry the file holds to visit, in index order. The
// entries are read in small chunks, so memory does not follow what N claims; visit
// may use the stream as it likes. Returns the extent (nothing is visited when
// Announced <= 0).
TFilmIndexExtent WalkFilmIndex(TkoStream& stream, int64_t filmStart,
                               const std::function<void(const TFilmIndexEntry&)>& visit);

// Loads films into a segment list, unpacking into a temporary folder, and collects
// what the shell must show afterwards. Holds no global state: a tool may make one per
// film. Not copyable; the list and folder must outlive it.
class TFilmLoader {
public:
  // An empty tempFolder means there is none (start-up could not make it): nothing is
  // written anywhere else instead, and a film with a segment fails to load as below.
  TFilmLoader(TSegmentList& segments, std::filesystem::path tempFolder);

  // The format used for the version warning (printf, one %d). A format with any other
  // conversion is ignored and the built-in text used instead.
  void SetInvalidVersionFormat(const std::string& format);

  // Finds the film through the trailer X at the end of the stream and loads it from
  // E − X − 4. False when stream is null, the file is shorter than 4 bytes, X <= 0,
  // the film would start before the file, or its index would not fit in its X bytes
  // (the trailer is then no trailer); otherwise LoadFilm's result.
  bool LoadAppendedFilm(TkoStream* stream);

  // Loads the film that starts at the stream's position, appending its segments to the
  // list (the caller empties it first where needed). False when stream is null or
  // N <= 0 (nothing appended); true once the index has been walked, even if no entry
  // gave a segment. Empties WarningText() and Damage() first. A segment whose data
  // cannot be used (damaged cabinet or LZMA stream, damaged data file, too large for
  // memory) stays in the list without frames, is reported once in Damage(), and
  // leaves no file behind; the later segments load as usual.
  // Throws EkoError("Cannot open or create file.") when a temporary file cannot be
  // created, and EkoCabinet when the cabinet library cannot be used; segments
  // appended until then stay in the list, and no other file is left behind.
  bool LoadFilm(TkoStream* stream);

  // Turns the segment's packed block into its data file and walks it, and writes an
  // MP3 sound block out (see the .cpp). headerPosition is the header's position in the
  // stream; segmentNumber names it in Damage(). Returns true (the in-process decoder
  // cannot fail to start); damage is recorded in segment.Problem and in Damage().
  bool UnpackSegment(TkoStream& film, int64_t headerPosition, const TSegmentHeader& header,
                     TSegmentInfo& segment, int32_t segmentNumber);

  // The version warnings of the last LoadFilm, run together without separator; the
  // shell shows it, when not empty, in one box captioned "Warning".
  const std::string& WarningText() const { return FWarningText; }
  // One English line per damaged part of the last film, in index order: "Film: ...",
  // "Segment N: ..." (N the segment's number in the list, from 1, as the player
  // counts them) or "Index entry N: ..." for an entry that gives no segment. The
  // shell shows them together, once.
  const std::vector<std::string>& Damage() const { return FDamage; }

  const std::filesystem::path& TempFolder() const { return FTempFolder; }

private:
  void Report(int32_t segmentNumber, const std::string& problem);
  void LoadEntry(TkoStream& film, const TFilmIndexEntry& entry);
  void AddSegment(TkoStream& film, const TFilmIndexEntry& entry);
  std::string UnpackAndWalk(TkoStream& film, int64_t headerPosition, const TSegmentHeader& header,
                            TSegmentInfo& segment);
  std::filesystem::path TempFileName(const std::string& extension) const;
  TTempPath UnpackCabinet(const std::filesystem::path& packed, uint64_t limit, std::string& problem);
  TTempPath UnpackBlock(TkoStream& film, int64_t headerPosition, const TSegmentHeader& header,
                        std::string& problem);
  void WriteSound(TkoStream& film, int64_t headerPosition, const TSegmentHeader& header,
                  TSegmentInfo& segment, int32_t segmentNumber);

  TSegmentList& FSegments;
  std::filesystem::path FTempFolder;
  std::string FInvalidVersionFormat = kDefaultInvalidVersionFormat;
  std::string FWarningText;
  std::vector<std::string> FDamage;
};
