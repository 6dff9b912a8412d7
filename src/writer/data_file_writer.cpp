#include "writer/data_file_writer.h"

#include <stdexcept>

namespace filmwriter {

namespace {
constexpr uint32_t kLargestRun = 65535;

void PutRun(Bytes& out, uint32_t colour, uint16_t count) {
  PutU8(out, uint8_t(colour));        // blue
  PutU8(out, uint8_t(colour >> 8));   // green
  PutU8(out, uint8_t(colour >> 16));  // red
  PutU16(out, count);
}

void CheckPicture(const Picture& picture) {
  if (picture.width < 0 || picture.height < 0 ||
      picture.pixels.size() != size_t(picture.width) * size_t(picture.height))
    throw std::invalid_argument("picture pixel count differs from width x height");
}

// 1-bit rows, most significant bit first, each row padded to 16 bits.
void PutBitRows(Bytes& out, const std::vector<uint8_t>& bits, int width, int height, uint8_t fill) {
  const size_t rowBytes = size_t((width + 15) / 16) * 2;
  for (int y = 0; y < height; ++y) {
    Bytes row(rowBytes, 0);
    for (int x = 0; x < width; ++x) {
      const uint8_t bit = bits.empty() ? fill : bits.at(size_t(y) * size_t(width) + size_t(x));
      if (bit) row[size_t(x) / 8] |= uint8_t(0x80 >> (x % 8));
    }
    PutBytes(out, row);
  }
}
}  // namespace

Picture Picture::Filled(int width, int height, uint32_t colour) {
  return Picture{width, height, std::vector<uint32_t>(size_t(width) * size_t(height), colour)};
}

std::vector<Run> DifferenceRuns(const Picture& previous, const Picture& next) {
  CheckPicture(next);
  const bool fromBlack = previous.pixels.empty();
  if (!fromBlack) {
    CheckPicture(previous);
    if (previous.width != next.width || previous.height != next.height)
      throw std::invalid_argument("pictures of a segment must have one size");
  }
  std::vector<Run> runs;
  for (size_t i = 0; i < next.pixels.size(); ++i) {
    const uint32_t colour = (next.pixels[i] ^ (fromBlack ? 0 : previous.pixels[i])) & 0xFFFFFF;
    if (!runs.empty() && runs.back().colour == colour && runs.back().count < kLargestRun)
      ++runs.back().count;
    else
      runs.push_back(Run{colour, 1});
  }
  return runs;
}

Bytes FrameRecord(const std::vector<Run>& runs) {
  Bytes out;
  PutI32(out, int32_t(8 + 5 * runs.size()));
  PutI32(out, int32_t(runs.size()));
  for (const Run& run : runs) PutRun(out, run.colour, run.count);
  return out;
}

Bytes RawFrameRecord(int32_t sizeField, int32_t runCountField, const Bytes& body) {
  Bytes out;
  PutI32(out, sizeField);
  PutI32(out, runCountField);
  PutBytes(out, body);
  return out;
}

std::vector<Bytes> FrameRecords(const std::vector<Picture>& pictures) {
  std::vector<Bytes> records;
  const Picture black;
  for (size_t i = 0; i < pictures.size(); ++i)
    records.push_back(FrameRecord(DifferenceRuns(i == 0 ? black : pictures[i - 1], pictures[i])));
  return records;
}

Bytes CursorRecord(const CursorRecordFields& f) {
  Bytes out;
  PutI32(out, f.hotX);
  PutI32(out, f.hotY);
  PutI32(out, f.maskSize);
  PutI32(out, f.maskWidth);
  PutI32(out, f.maskHeight);
  PutU8(out, f.maskBitsPerPixel);
  PutBytes(out, f.maskBits);
  PutI32(out, f.colourSize);
  PutI32(out, f.colourWidth);
  PutI32(out, f.colourHeight);
  PutU8(out, f.colourBitsPerPixel);
  PutBytes(out, f.colourBits);
  return out;
}

CursorRecordFields MonochromeCursor(int hotX, int hotY, int width, int height,
                                    const std::vector<uint8_t>& andMask,
                                    const std::vector<uint8_t>& xorMask) {
  CursorRecordFields f;
  f.hotX = hotX;
  f.hotY = hotY;
  PutBitRows(f.maskBits, andMask, width, height, 1);
  PutBitRows(f.maskBits, xorMask, width, height, 0);
  f.maskSize = int32_t(f.maskBits.size());
  f.maskWidth = width;
  f.maskHeight = 2 * height;
  f.maskBitsPerPixel = 1;
  return f;
}

CursorRecordFields ColourCursor(int hotX, int hotY, int width, int height,
                                const std::vector<uint32_t>& colours,
                                const std::vector<uint8_t>& andMask) {
  if (colours.size() != size_t(width) * size_t(height))
    throw std::invalid_argument("colour cursor needs one colour per pixel");
  CursorRecordFields f;
  f.hotX = hotX;
  f.hotY = hotY;
  PutBitRows(f.maskBits, andMask, width, height, 0);
  f.maskSize = int32_t(f.maskBits.size());
  f.maskWidth = width;
  f.maskHeight = height;
  f.maskBitsPerPixel = 1;
  for (uint32_t argb : colours) {
    PutU8(f.colourBits, uint8_t(argb));
    PutU8(f.colourBits, uint8_t(argb >> 8));
    PutU8(f.colourBits, uint8_t(argb >> 16));
    PutU8(f.colourBits, uint8_t(argb >> 24));
  }
  f.colourSize = int32_t(f.colourBits.size());
  f.colourWidth = width;
  f.colourHeight = height;
  f.colourBitsPerPixel = 32;
  return f;
}

Bytes EmptyCursorRecord() { return CursorRecord(CursorRecordFields{}); }

Bytes DefaultCursorRecord() {
  // A left-pointing arrow: black outline (AND 0, XOR 0) around a white body
  // (AND 0, XOR 1), transparent elsewhere (AND 1, XOR 0).
  constexpr int kSize = 32;
  std::vector<uint8_t> andMask(kSize * kSize, 1), xorMask(kSize * kSize, 0);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x <= y && x < 11; ++x) {
      andMask[size_t(y * kSize + x)] = 0;
      const bool edge = x == 0 || x == y || x == 10 || y == 15;
      xorMask[size_t(y * kSize + x)] = edge ? 0 : 1;
    }
  return CursorRecord(MonochromeCursor(0, 0, kSize, kSize, andMask, xorMask));
}

DataFile BuildDataFile(const DataFileSpec& spec) {
  DataFile file;
  Bytes nameBlock;
  if (spec.nameBlock) {
    nameBlock = *spec.nameBlock;
  } else {
    if (spec.name.size() > 255) throw std::invalid_argument("name longer than 255 characters");
    PutU8(nameBlock, uint8_t(spec.name.size()));
    PutText(nameBlock, spec.name);
  }
  PutI32(file.bytes, spec.nameLength.value_or(int32_t(nameBlock.size())));
  PutBytes(file.bytes, nameBlock);

  for (const Bytes& record : spec.cursorRecords) PutBytes(file.bytes, record);
  file.cursorCount = int32_t(spec.cursorRecords.size());

  file.firstFrameOffset = int32_t(file.bytes.size());
  std::vector<Bytes> records = FrameRecords(spec.pictures);
  records.insert(records.end(), spec.frameRecords.begin(), spec.frameRecords.end());
  for (const Bytes& record : records) PutBytes(file.bytes, record);
  file.frameCount = int32_t(records.size());
  file.frameDataSize = int32_t(file.bytes.size()) - file.firstFrameOffset;

  const size_t trackStart = file.bytes.size();
  if (spec.cursorTrack) {
    for (const CursorSample& s : *spec.cursorTrack) {
      PutU16(file.bytes, s.index);
      PutU16(file.bytes, s.x);
      PutU16(file.bytes, s.y);
    }
  } else {
    file.bytes.resize(file.bytes.size() + 6 * size_t(spec.samplesPerFrame) * records.size(), 0);
  }
  file.cursorTrackSize = int32_t(file.bytes.size() - trackStart);

  PutBytes(file.bytes, spec.extra);
  file.extraSize = int32_t(spec.extra.size());
  return file;
}

}  // namespace filmwriter
