#pragma once
// Segment data files as the recorder writes them, block after block:
//   i32 name length L, name block (one length byte n, then n characters),
//   cursor records, frame records, cursor track (6-byte samples), extra block.
// Frame records are computed from a sequence of pictures (the first against black,
// every later one as the exclusive-or difference to the picture before it), or made
// by hand for damaged cases.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "writer/film_bytes.h"

namespace filmwriter {

// One picture of a segment: width × height pixels, row by row, top row first, each
// 0x00RRGGBB.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;

  static Picture Filled(int width, int height, uint32_t colour);
  uint32_t& At(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
  uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// ---- Frame records -------------------------------------------------------------------
// A run: count pixels (1..65535) of one difference colour 0x00RRGGBB, stored as
// blue, green, red, u16 count.
struct Run {
  uint32_t colour = 0;
  uint16_t count = 0;
};

// Runs of equal difference colour (previous XOR next) over the whole frame, left to
// right and top to bottom, a run spanning rows where the colour goes on, split at
// 65535 pixels. An empty previous picture (no pixels) stands for black. Throws
// std::invalid_argument when the sizes differ or a picture has the wrong pixel count.
std::vector<Run> DifferenceRuns(const Picture& previous, const Picture& next);

// A frame record: i32 size (8 + 5 × R), i32 run count R, the runs.
Bytes FrameRecord(const std::vector<Run>& runs);
// A hand-made record for damaged cases: the two fields as given, then body verbatim.
Bytes RawFrameRecord(int32_t sizeField, int32_t runCountField, const Bytes& body);
// One record per picture: the first against black, the rest as differences.
std::vector<Bytes> FrameRecords(const std::vector<Picture>& pictures);

// ---- Cursor records --------------------------------------------------------------------
// Every field of a cursor record, written exactly as given: the size fields need not
// agree with the byte vectors (damaged cases).
struct CursorRecordFields {
  int32_t hotX = 0, hotY = 0;
  int32_t maskSize = 0, maskWidth = 0, maskHeight = 0;
  uint8_t maskBitsPerPixel = 0;
  Bytes maskBits;
  int32_t colourSize = 0, colourWidth = 0, colourHeight = 0;
  uint8_t colourBitsPerPixel = 0;
  Bytes colourBits;
};
// hot x, hot y, mask size, width, height, u8 bpp, mask bits, colour size, width,
// height, u8 bpp, colour bits.
Bytes CursorRecord(const CursorRecordFields& fields);

// A monochrome cursor: 1-bit mask of width × 2·height, the AND half above the XOR
// half, rows padded to 16 bits, most significant bit = leftmost pixel; colour size 0.
// andMask and xorMask hold one 0/1 value per pixel (width × height, row by row);
// empty means all 1 (AND) and all 0 (XOR).
CursorRecordFields MonochromeCursor(int hotX, int hotY, int width, int height,
                                    const std::vector<uint8_t>& andMask = {},
                                    const std::vector<uint8_t>& xorMask = {});
// A colour cursor: 1-bit AND mask of width × height (rows padded to 16 bits) and
// 32-bit colour bits stored blue, green, red, alpha per pixel (rows are 4-byte
// aligned by nature). colours holds 0xAARRGGBB per pixel; empty andMask means all 0.
CursorRecordFields ColourCursor(int hotX, int hotY, int width, int height,
                                const std::vector<uint32_t>& colours,
                                const std::vector<uint8_t>& andMask = {});
// The empty slot: all fields 0, 34 bytes.
Bytes EmptyCursorRecord();
// A 32 × 32 monochrome arrow with its hot spot at (0, 0): the cursor a data file gets
// unless the test says otherwise.
Bytes DefaultCursorRecord();

// ---- Data file -----------------------------------------------------------------------
struct CursorSample {
  uint16_t index = 0, x = 0, y = 0;
};

struct DataFileSpec {
  std::string name = "Segment";
  std::optional<Bytes> nameBlock;      // raw name block instead of one made from name
  std::optional<int32_t> nameLength;   // length field instead of the block's size
  std::vector<Bytes> cursorRecords = {DefaultCursorRecord()};
  std::vector<Picture> pictures;       // frame records are made from these ...
  std::vector<Bytes> frameRecords;     // ... and these are appended after them as given
  int samplesPerFrame = 1;             // for the default cursor track (1 or 3)
  // Default: samplesPerFrame samples (0, 0, 0) per frame record.
  std::optional<std::vector<CursorSample>> cursorTrack;
  Bytes extra;
};

// The data file and the values the segment header announces for it.
struct DataFile {
  Bytes bytes;
  int32_t frameCount = 0;       // frame records written
  int32_t cursorCount = 0;      // cursor records written
  int32_t cursorTrackSize = 0;  // bytes
  int32_t extraSize = 0;        // bytes
  int32_t frameDataSize = 0;    // bytes of all frame records
  int32_t firstFrameOffset = 0; // file offset of the first frame record
};

// Throws std::invalid_argument when the pictures differ in size.
DataFile BuildDataFile(const DataFileSpec& spec);

}  // namespace filmwriter
