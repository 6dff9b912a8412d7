#pragma once
// Films for tests. A film is:
//   i32 N, N index entries (u32 header offset from the film start, u16 kind),
//   then per segment a 54-byte header, its packed block and its sound block.
// By default the layout is the recorder's: the first header right behind the index,
// packed block at header + 54, sound block right behind it, segments in index order.
// Every header field and index entry can be overridden to build damaged films; the
// blocks stay where the default layout puts them.
//
// Example:
//   filmwriter::SegmentSpec s;
//   s.data.pictures = {Picture::Filled(8, 4, 0x102030), Picture::Filled(8, 4, 0x102031)};
//   s.packing = filmwriter::Packing::MsZip;
//   WriteBytesToFile(dir / "a.kof", WithTrailer(BuildFilm({s})));
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "writer/cabinet_writer.h"
#include "writer/data_file_writer.h"
#include "writer/film_bytes.h"
#include "writer/lzma_writer.h"

namespace filmwriter {

constexpr int kSegmentHeaderSize = 54;
constexpr int kIndexEntrySize = 6;

// The 54-byte segment header, field by field.
struct SegmentHeader {
  uint8_t version = 0;
  int32_t width = 0;
  int32_t height = 0;
  uint8_t bitsPerPixel = 32;
  float framesPerSecond = 10.0f;
  uint32_t flags = 0;
  int32_t frameCount = 0;
  int32_t cursorCount = 0;
  int32_t cursorTrackSize = 0;
  int32_t extraSize = 0;
  int32_t frameDataSize = 0;
  int32_t packedSize = 0;
  int32_t packedOffset = 0;  // from the header's first byte
  int32_t soundSize = 0;
  int32_t soundOffset = 0;   // from the header's first byte
};
Bytes EncodeSegmentHeader(const SegmentHeader& header);

// Any field set here replaces the value the writer would compute.
struct HeaderOverrides {
  std::optional<uint8_t> version;
  std::optional<int32_t> width, height;
  std::optional<uint8_t> bitsPerPixel;
  std::optional<float> framesPerSecond;
  std::optional<uint32_t> flags;
  std::optional<int32_t> frameCount, cursorCount, cursorTrackSize, extraSize, frameDataSize;
  std::optional<int32_t> packedSize, packedOffset, soundSize, soundOffset;
};

enum class Packing {
  Stored,                 // cabinet, compression type 0   (flags 0x0000)
  MsZip,                  // cabinet, MSZIP                (flags 0x0000)
  Lzx,                    // cabinet, LZX                  (flags 0x0000)
  Lzma,                   // LZMA-alone, size known        (flags 0x2000)
  LzmaUnknownSize,        // LZMA-alone, end marker        (flags 0x2000)
};

constexpr uint32_t kFlagThreeCursorSamples = 0x0001;
constexpr uint32_t kSoundWave = 0x0000, kSoundMp3 = 0x0100, kSoundMidi = 0x0200;
constexpr uint32_t kPackingCabinet = 0x0000, kPackingLzma = 0x2000;

struct SegmentSpec {
  DataFileSpec data;
  // Used instead of building `data` (e.g. a built data file cut short); the header's
  // counts and sizes come from it.
  std::optional<DataFile> prebuiltData;

  // Header values; width/height 0 take the first picture's size.
  uint8_t version = 0;
  int32_t width = 0, height = 0;
  uint8_t bitsPerPixel = 32;
  float framesPerSecond = 10.0f;
  // Written flags = flags | soundKind | packing bits | bit 0 when
  // data.samplesPerFrame == 3. HeaderOverrides::flags replaces all of it.
  uint32_t flags = 0;
  uint32_t soundKind = kSoundMp3;
  HeaderOverrides header;

  // Index entry: kind, and the header offset unless the layout's is wanted.
  uint16_t indexKind = 1;
  std::optional<uint32_t> headerOffset;

  // Packed block.
  Packing packing = Packing::Stored;
  std::string memberName;             // empty: "koS_20090406171337" + 3 digits + ".dat"
  uint16_t memberDate = kDefaultCabDate, memberTime = kDefaultCabTime;
  uint16_t memberAttributes = 0x20;
  std::vector<CabMember> otherMembers;  // listed before the data file in the cabinet
  int lzxWindowBits = 21;
  std::optional<Bytes> packedBlock;   // used verbatim instead of packing the data file

  Bytes sound;  // the sound block, stored byte for byte
};

struct FilmOptions {
  std::optional<int32_t> segmentCount;  // N written instead of the number of entries
  // Order in which the segments' blocks are laid out in the file (indices into the
  // spec list); empty: index order. The index keeps the spec order.
  std::vector<size_t> layoutOrder;
};

// What was written for one segment (in spec order).
struct BuiltSegment {
  uint32_t headerOffset = 0;   // where the header lies, from the film start
  SegmentHeader header;        // as written
  DataFile data;               // the data file inside the packed block
  std::string memberName;      // the data file's member name (cabinet packing)
  Bytes packedBlock;
};

struct BuiltFilm {
  Bytes bytes;
  std::vector<BuiltSegment> segments;
};

// The film as it starts at byte 0 (a plain film file opened through the Open dialog).
// Throws std::invalid_argument for a layout order that is not a permutation.
BuiltFilm BuildFilmDetailed(const std::vector<SegmentSpec>& segments, const FilmOptions& options = {});
Bytes BuildFilm(const std::vector<SegmentSpec>& segments, const FilmOptions& options = {});

// The packed block for a data file, as a segment spec asks for it.
Bytes PackDataFile(const Bytes& dataFile, const SegmentSpec& spec, const std::string& memberName);

// film + i32 X (the film's length, or filmLengthField): a film file that serves both
// the Open dialog and the command line.
Bytes WithTrailer(const Bytes& film, std::optional<int32_t> filmLengthField = std::nullopt);

struct AppendOptions {
  std::optional<int32_t> languageLengthField;  // L written instead of the text's length
  std::optional<int32_t> filmLengthField;      // X written instead of the film's length
};
// executable, language text, i32 L, film, i32 X: a film executable.
Bytes AppendedFilm(const Bytes& executable, const std::string& languageText, const Bytes& film,
                   const AppendOptions& options = {});

}  // namespace filmwriter
