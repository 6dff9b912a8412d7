// Data files and films read back field by field, with a small reader written here from
// the layout description; frame records laid back by a reference decoder.
#include <gtest/gtest.h>

#include "writer/film_writer.h"

using namespace filmwriter;

namespace {
using Fields = std::vector<uint32_t>;

// The little-endian fields of the given byte widths, from at on.
Fields Take(const Bytes& bytes, size_t at, std::initializer_list<int> sizes) {
  Fields values;
  for (int size : sizes) {
    uint32_t value = 0;
    for (int i = 0; i < size; ++i) value |= uint32_t(bytes.at(at++)) << (8 * i);
    values.push_back(value);
  }
  return values;
}
}  // namespace

TEST(DataFileWriter, BlocksFollowEachOtherAsAnnounced) {
  DataFileSpec spec;
  spec.name = "Seg";
  spec.cursorRecords = {DefaultCursorRecord(), EmptyCursorRecord(),
                        CursorRecord(ColourCursor(2, 1, 3, 2, {0x80112233, 0, 0, 0, 0, 0xFF445566}))};
  spec.pictures = {Picture::Filled(4, 2, 0x00FF00), Picture::Filled(4, 2, 0x00FF01)};
  spec.frameRecords = {RawFrameRecord(999, 1, {1, 2, 3})};
  spec.samplesPerFrame = 3;
  spec.extra = {9, 8, 7};
  const DataFile file = BuildDataFile(spec);
  // The name block, the cursor records as given, the frame records (one run each, then
  // the raw one), the default track of (0, 0, 0) samples, the extra block.
  Bytes expected = {4, 0, 0, 0, 3, 'S', 'e', 'g'};
  for (const Bytes& record : spec.cursorRecords) expected.insert(expected.end(), record.begin(), record.end());
  EXPECT_EQ(size_t(file.firstFrameOffset), expected.size());
  for (const Bytes& record : {FrameRecord({{0x00FF00, 8}}), FrameRecord({{0x000001, 8}}), spec.frameRecords[0]})
    expected.insert(expected.end(), record.begin(), record.end());
  expected.insert(expected.end(), 3 * 3 * 6, 0);
  expected.insert(expected.end(), {9, 8, 7});
  EXPECT_EQ(file.bytes, expected);
  EXPECT_EQ(Take(spec.frameRecords[0], 0, {4, 4, 1, 1, 1}), (Fields{999, 1, 1, 2, 3}));
  EXPECT_EQ((std::vector<int32_t>{file.cursorCount, file.frameCount, file.frameDataSize, file.cursorTrackSize,
                                  file.extraSize}),
            (std::vector<int32_t>{3, 3, 13 + 13 + 11, 3 * 18, 3}));
}

TEST(DataFileWriter, FrameRecordsGiveThePicturesBackAndSplitLongRunsAtTheLargestCount) {
  std::vector<Picture> pictures = {Picture::Filled(7, 5, 0x203040)};
  uint32_t seed = 7;
  for (int frame = 0; frame < 4; ++frame) {
    Picture next = pictures.back();
    for (int n = 0; n < 12; ++n) {
      seed = seed * 1664525u + 1013904223u;
      next.pixels[(seed >> 8) % next.pixels.size()] = frame % 2 ? seed & 0xFFFFFF : 0xFF00FF;
    }
    pictures.push_back(next);
  }
  pictures.push_back(pictures.back());  // a frame that changes nothing
  // Laid onto black one after the other by exclusive or, the records give each picture.
  std::vector<uint32_t> shown(pictures[0].pixels.size(), 0);
  const std::vector<Bytes> records = FrameRecords(pictures);
  for (size_t i = 0; i < records.size(); ++i) {
    const Bytes& record = records[i];
    const Fields head = Take(record, 0, {4, 4});
    ASSERT_EQ(head[0], 8 + 5 * head[1]);
    ASSERT_EQ(record.size(), head[0]);
    size_t pixel = 0;
    for (size_t at = 8; at < record.size(); at += 5) {
      const Fields run = Take(record, at, {3, 2});
      ASSERT_GE(run[1], 1u);
      for (uint32_t k = 0; k < run[1]; ++k) shown.at(pixel++) ^= run[0];
    }
    EXPECT_EQ(pixel, shown.size());
    ASSERT_EQ(shown, pictures[i].pixels) << "picture " << i;
  }
  // 300 × 250 = 75000 pixels of one colour: 65535 and 9465; no change: colour 0.
  const std::vector<Bytes> large = FrameRecords({Picture::Filled(300, 250, 0x123456), Picture::Filled(300, 250, 0x123456)});
  EXPECT_EQ(large[0], FrameRecord({{0x123456, 65535}, {0x123456, 9465}}));
  EXPECT_EQ(large[1], FrameRecord({{0, 65535}, {0, 9465}}));
}

TEST(FilmWriter, DefaultLayoutIsTheRecordersAndEveryCarrierFindsTheFilm) {
  SegmentSpec first;
  first.data.name = "Intro";
  first.data.pictures = {Picture::Filled(6, 3, 0x010203), Picture::Filled(6, 3, 0x010203)};
  first.sound = Bytes(100, 0xAB);
  SegmentSpec second = first;
  second.sound.clear();
  second.packing = Packing::Lzma;
  second.framesPerSecond = 12.5f;
  second.data.samplesPerFrame = 3;
  const BuiltFilm film = BuildFilmDetailed({first, second});
  const BuiltSegment& s0 = film.segments[0];
  const uint32_t packed0 = uint32_t(s0.packedBlock.size()), secondOffset = 16 + 54 + packed0 + 100;
  // The index, then the first header: version, 6 × 3 at 32 bits, 10.0 frames per second
  // as a float, MP3 sound and cabinet packing, 2 frames, 1 cursor, a 12-byte track, no
  // extra, the frame data, the packed block behind the header, the sound behind that.
  EXPECT_EQ(Take(film.bytes, 0, {4, 4, 2, 4, 2}), (Fields{2, 16, 1, secondOffset, 1}));
  EXPECT_EQ(Take(film.bytes, 16, {1, 4, 4, 1, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4}),
            (Fields{0, 6, 3, 32, 0x41200000u, 0x0100, 2, 1, 12, 0, uint32_t(s0.data.frameDataSize), packed0, 54, 100,
                    54 + packed0}));
  EXPECT_EQ(Bytes(film.bytes.begin() + 70, film.bytes.begin() + 70 + packed0), s0.packedBlock);
  EXPECT_EQ(Bytes(film.bytes.begin() + 70 + packed0, film.bytes.begin() + secondOffset), first.sound);
  // A stored cabinet carries the data file verbatim at its end, under the default name.
  EXPECT_EQ(std::string(s0.packedBlock.begin(), s0.packedBlock.begin() + 4), "MSCF");
  EXPECT_TRUE(std::equal(s0.data.bytes.rbegin(), s0.data.bytes.rend(), s0.packedBlock.rbegin()));
  EXPECT_EQ(s0.memberName, "koS_20090406171337000.dat");
  // LZMA packing and three samples per frame in the flags; the packed block ends the film.
  const SegmentHeader& h1 = film.segments[1].header;
  EXPECT_EQ(h1.flags, 0x2101u);
  EXPECT_EQ(h1.cursorTrackSize, 36);
  EXPECT_EQ(film.bytes.size(), secondOffset + 54 + size_t(h1.packedSize));

  const Bytes trailed = WithTrailer(film.bytes);
  EXPECT_EQ(Bytes(trailed.begin(), trailed.end() - 4), film.bytes);
  EXPECT_EQ(Take(trailed, trailed.size() - 4, {4})[0], film.bytes.size());
  const Bytes exe = {'M', 'Z', 0, 0, 1};
  const std::string language = "Error=Fehler\r\n";
  const Bytes appended = AppendedFilm(exe, language, film.bytes);
  const Bytes expected = Concat({exe, Bytes(language.begin(), language.end()), Bytes{14, 0, 0, 0}, trailed});
  EXPECT_EQ(appended, expected);
}
