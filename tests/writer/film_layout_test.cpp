// Data files and films read back field by field with a small reader written here from
// the layout description, and LZMA-alone blocks decoded in-process by liblzma.
#include <gtest/gtest.h>

#include <lzma.h>

#include <algorithm>

#include "writer/film_writer.h"

using namespace filmwriter;

namespace {
using Fields = std::vector<uint32_t>;

// Little-endian reader over a byte vector; a read past the end fails the test.
struct Reader {
  const Bytes& bytes;
  size_t at = 0;
  uint32_t Take(int size) {
    EXPECT_LE(at + size_t(size), bytes.size());
    if (at + size_t(size) > bytes.size()) return 0;
    uint32_t value = 0;
    for (int i = 0; i < size; ++i) value |= uint32_t(bytes[at + size_t(i)]) << (8 * i);
    at += size_t(size);
    return value;
  }
  // Fields of the given byte widths, one after the other.
  Fields Take(std::initializer_list<int> sizes) {
    Fields values;
    for (int size : sizes) values.push_back(Take(size));
    return values;
  }
};

uint32_t U32At(const Bytes& bytes, size_t at) { return Reader{bytes, at}.Take(4); }

Bytes DecodeLzmaAlone(const Bytes& packed) {
  lzma_stream stream = LZMA_STREAM_INIT;
  EXPECT_EQ(lzma_alone_decoder(&stream, UINT64_MAX), LZMA_OK);
  Bytes out(1 << 20);
  stream.next_in = packed.data();
  stream.avail_in = packed.size();
  stream.next_out = out.data();
  stream.avail_out = out.size();
  EXPECT_EQ(lzma_code(&stream, LZMA_FINISH), LZMA_STREAM_END);
  out.resize(out.size() - stream.avail_out);
  lzma_end(&stream);
  return out;
}

SegmentSpec TwoPictureSegment() {
  SegmentSpec s;
  s.data.name = "Intro";
  s.data.pictures = {Picture::Filled(6, 3, 0x010203), Picture::Filled(6, 3, 0x010203)};
  s.data.pictures[1].At(5, 2) = 0xFFFFFF;
  return s;
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

  // The name block, then the cursor records as given (kof frames draws them, compared
  // with a model of their masks), then the frame records.
  EXPECT_EQ(Reader{file.bytes}.Take({4, 1}), (Fields{4, 3}));
  EXPECT_EQ(std::string(file.bytes.begin() + 5, file.bytes.begin() + 8), "Seg");
  size_t at = 8;
  for (const Bytes& record : spec.cursorRecords) {
    EXPECT_TRUE(std::equal(record.begin(), record.end(), file.bytes.begin() + ptrdiff_t(at)));
    at += record.size();
  }
  EXPECT_EQ(size_t(file.firstFrameOffset), at);
  EXPECT_EQ((Fields{uint32_t(file.cursorCount), uint32_t(file.frameCount), uint32_t(file.frameDataSize),
                    uint32_t(file.cursorTrackSize), uint32_t(file.extraSize)}),
            (Fields{3, 3, (8 + 5) + (8 + 5) + 11, 3 * 18, 3}));
  EXPECT_EQ(file.bytes.size(), at + size_t(file.frameDataSize + file.cursorTrackSize + 3));
  EXPECT_EQ(Bytes(file.bytes.end() - 3, file.bytes.end()), spec.extra);
  const auto raw = file.bytes.begin() + file.firstFrameOffset + 26;  // behind two records
  EXPECT_EQ(Bytes(raw, raw + 11), (Bytes{0xE7, 3, 0, 0, 1, 0, 0, 0, 1, 2, 3}));
  EXPECT_EQ(Bytes(raw + 11, raw + 11 + 54), Bytes(54, 0));  // default track: (0, 0, 0)
}

TEST(FilmWriter, DefaultLayoutIsTheRecordersAndEveryOutputFormFindsTheFilm) {
  SegmentSpec first = TwoPictureSegment();
  first.sound = Bytes(100, 0xAB);
  SegmentSpec second = TwoPictureSegment();
  second.packing = Packing::Lzma;
  second.framesPerSecond = 12.5f;
  second.data.samplesPerFrame = 3;
  const BuiltFilm film = BuildFilmDetailed({first, second});
  const BuiltSegment& s0 = film.segments[0];
  const uint32_t packed0 = uint32_t(s0.packedBlock.size());
  const uint32_t secondOffset = 16 + 54 + packed0 + 100;

  // The index, then the first header: version, 6 × 3 at 32 bits, 10.0 frames per second
  // as a float, MP3 sound and cabinet packing, 2 frames, 1 cursor, a 12-byte track, no
  // extra, the frame data, the packed block behind the header, the sound behind that.
  Reader r{film.bytes};
  EXPECT_EQ(r.Take({4, 4, 2, 4, 2}), (Fields{2, 16, 1, secondOffset, 1}));
  EXPECT_EQ(r.Take({1, 4, 4, 1, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4}),
            (Fields{0, 6, 3, 32, 0x41200000u, 0x0100, 2, 1, 12, 0, uint32_t(s0.data.frameDataSize), packed0, 54, 100,
                    54 + packed0}));
  EXPECT_EQ(std::string(film.bytes.begin() + 70, film.bytes.begin() + 74), "MSCF");
  // A stored cabinet carries the data file verbatim at its end, under the default name.
  EXPECT_TRUE(std::equal(s0.data.bytes.rbegin(), s0.data.bytes.rend(), s0.packedBlock.rbegin()));
  EXPECT_EQ(s0.memberName, "koS_20090406171337000.dat");
  EXPECT_EQ(film.bytes[16 + 54 + packed0], 0xAB);

  const SegmentHeader& h1 = film.segments[1].header;
  EXPECT_EQ(h1.flags, 0x2101u);
  EXPECT_EQ(h1.cursorTrackSize, 36);
  const Bytes packed(film.bytes.begin() + secondOffset + 54, film.bytes.begin() + secondOffset + 54 + h1.packedSize);
  EXPECT_EQ(DecodeLzmaAlone(packed), film.segments[1].data.bytes);
  EXPECT_EQ(film.bytes.size(), secondOffset + 54 + size_t(h1.packedSize));

  const Bytes trailed = WithTrailer(film.bytes);
  EXPECT_EQ(Bytes(trailed.begin(), trailed.end() - 4), film.bytes);
  EXPECT_EQ(U32At(trailed, trailed.size() - 4), film.bytes.size());

  const Bytes exe = {'M', 'Z', 0, 0, 1};
  const Bytes appended = AppendedFilm(exe, "Error=Fehler\r\n", film.bytes);
  const ptrdiff_t e = ptrdiff_t(appended.size()), x = U32At(appended, size_t(e) - 4);
  const ptrdiff_t l = U32At(appended, size_t(e - x - 8));
  EXPECT_EQ(Bytes(appended.begin() + e - x - 4, appended.end() - 4), film.bytes);
  EXPECT_EQ(std::string(appended.begin() + e - x - l - 8, appended.begin() + e - x - 8), "Error=Fehler\r\n");
  EXPECT_EQ(Bytes(appended.begin(), appended.begin() + 5), exe);
}
