// Data files and films read back field by field with a small reader written here from
// the layout description, and LZMA-alone blocks decoded in-process by liblzma.
#include <gtest/gtest.h>

#include <lzma.h>

#include <algorithm>
#include <cstring>

#include "support/film_writer.h"

using namespace filmwriter;

namespace {
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
  int32_t I32() { return int32_t(Take(4)); }
};

int32_t I32At(const Bytes& bytes, size_t at) {
  Reader r{bytes, at};
  return r.I32();
}

Bytes DecodeLzmaAlone(const Bytes& packed) {
  lzma_stream stream = LZMA_STREAM_INIT;
  EXPECT_EQ(lzma_alone_decoder(&stream, UINT64_MAX), LZMA_OK);
  Bytes out(1 << 20);
  stream.next_in = packed.data();
  stream.avail_in = packed.size();
  stream.next_out = out.data();
  stream.avail_out = out.size();
  const lzma_ret result = lzma_code(&stream, LZMA_FINISH);
  out.resize(out.size() - stream.avail_out);
  lzma_end(&stream);
  EXPECT_EQ(result, LZMA_STREAM_END);
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

  Reader r{file.bytes};
  EXPECT_EQ(r.I32(), 4);
  EXPECT_EQ(r.Take(1), 3u);
  EXPECT_EQ(std::string(file.bytes.begin() + 5, file.bytes.begin() + 8), "Seg");
  r.at = 8;
  // Monochrome 32 × 32: 32 × 64 mask of 256 bytes, the first AND row opaque at x = 0.
  EXPECT_EQ(r.I32(), 0);
  EXPECT_EQ(r.I32(), 0);
  EXPECT_EQ(r.I32(), 256);
  EXPECT_EQ(r.I32(), 32);
  EXPECT_EQ(r.I32(), 64);
  EXPECT_EQ(r.Take(1), 1u);
  EXPECT_EQ(file.bytes[r.at], 0x7F);
  r.at += 256;
  EXPECT_EQ(r.I32(), 0);  // colour size
  r.at += 9;
  r.at += 34;  // the empty slot
  // Colour cursor 3 × 2: mask rows padded to 16 bits, colour bits blue, green, red, alpha.
  EXPECT_EQ(r.I32(), 2);
  EXPECT_EQ(r.I32(), 1);
  EXPECT_EQ(r.I32(), 4);
  r.at += 9 + 4;
  EXPECT_EQ(r.I32(), 24);
  EXPECT_EQ(r.I32(), 3);
  EXPECT_EQ(r.I32(), 2);
  EXPECT_EQ(r.Take(1), 32u);
  EXPECT_EQ(r.Take(4), 0x80112233u);
  r.at += 16;
  EXPECT_EQ(r.Take(4), 0xFF445566u);

  EXPECT_EQ(size_t(file.firstFrameOffset), r.at);
  EXPECT_EQ(file.cursorCount, 3);
  EXPECT_EQ(file.frameCount, 3);
  EXPECT_EQ(file.frameDataSize, (8 + 5) + (8 + 5) + 11);
  EXPECT_EQ(file.cursorTrackSize, 3 * 18);
  EXPECT_EQ(file.extraSize, 3);
  EXPECT_EQ(file.bytes.size(), r.at + size_t(file.frameDataSize + file.cursorTrackSize + 3));
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

  Reader r{film.bytes};
  EXPECT_EQ(r.I32(), 2);
  EXPECT_EQ(r.Take(4), 16u);
  EXPECT_EQ(r.Take(2), 1u);
  const uint32_t secondOffset = r.Take(4);
  EXPECT_EQ(r.Take(2), 1u);
  const BuiltSegment& s0 = film.segments[0];
  EXPECT_EQ(secondOffset, 16 + 54 + s0.packedBlock.size() + 100);

  r.at = 16;
  EXPECT_EQ(r.Take(1), 0u);   // version
  EXPECT_EQ(r.I32(), 6);      // width from the first picture
  EXPECT_EQ(r.I32(), 3);
  EXPECT_EQ(r.Take(1), 32u);
  const uint32_t fps = r.Take(4);
  float rate;
  std::memcpy(&rate, &fps, 4);
  EXPECT_EQ(rate, 10.0f);
  EXPECT_EQ(r.Take(4), 0x0100u);  // MP3 sound kind, cabinet packing
  EXPECT_EQ(r.I32(), 2);
  EXPECT_EQ(r.I32(), 1);
  EXPECT_EQ(r.I32(), 12);
  EXPECT_EQ(r.I32(), 0);
  EXPECT_EQ(r.I32(), s0.data.frameDataSize);
  EXPECT_EQ(r.I32(), int32_t(s0.packedBlock.size()));
  EXPECT_EQ(r.I32(), 54);
  EXPECT_EQ(r.I32(), 100);
  EXPECT_EQ(r.I32(), 54 + int32_t(s0.packedBlock.size()));
  EXPECT_EQ(std::string(film.bytes.begin() + 70, film.bytes.begin() + 74), "MSCF");
  // A stored cabinet carries the data file verbatim at its end, under the default name.
  EXPECT_TRUE(std::equal(s0.data.bytes.rbegin(), s0.data.bytes.rend(), s0.packedBlock.rbegin()));
  EXPECT_EQ(s0.memberName, "koS_20090406171337000.dat");
  EXPECT_EQ(film.bytes[16 + 54 + s0.packedBlock.size()], 0xAB);

  const SegmentHeader& h1 = film.segments[1].header;
  EXPECT_EQ(h1.flags, 0x2101u);
  EXPECT_EQ(h1.cursorTrackSize, 36);
  const Bytes packed(film.bytes.begin() + secondOffset + 54,
                     film.bytes.begin() + secondOffset + 54 + h1.packedSize);
  EXPECT_EQ(DecodeLzmaAlone(packed), film.segments[1].data.bytes);
  EXPECT_EQ(film.bytes.size(), secondOffset + 54 + size_t(h1.packedSize));

  const Bytes trailed = WithTrailer(film.bytes);
  EXPECT_EQ(Bytes(trailed.begin(), trailed.end() - 4), film.bytes);
  EXPECT_EQ(I32At(trailed, trailed.size() - 4), int32_t(film.bytes.size()));

  const Bytes exe = {'M', 'Z', 0, 0, 1};
  const Bytes appended = AppendedFilm(exe, "Error=Fehler\r\n", film.bytes);
  const size_t e = appended.size();
  const int32_t x = I32At(appended, e - 4);
  const int32_t l = I32At(appended, e - size_t(x) - 8);
  EXPECT_EQ(Bytes(appended.begin() + ptrdiff_t(e) - x - 4, appended.end() - 4), film.bytes);
  EXPECT_EQ(std::string(appended.begin() + ptrdiff_t(e) - x - l - 8,
                        appended.begin() + ptrdiff_t(e) - x - 8),
            "Error=Fehler\r\n");
  EXPECT_EQ(Bytes(appended.begin(), appended.begin() + 5), exe);
}

TEST(FilmWriter, OverridesChangeOnlyWhatTheySay) {
  SegmentSpec a = TwoPictureSegment(), b = TwoPictureSegment(), c = TwoPictureSegment();
  a.version = 2;
  a.header.packedOffset = 123456;
  b.indexKind = 2;
  b.headerOffset = 7;
  c.packedBlock = Bytes{1, 2, 3};
  FilmOptions options;
  options.segmentCount = 5;
  options.layoutOrder = {2, 0, 1};
  const BuiltFilm film = BuildFilmDetailed({a, b, c}, options);

  Reader r{film.bytes};
  EXPECT_EQ(r.I32(), 5);
  const uint32_t aOffset = r.Take(4);
  r.Take(2);
  EXPECT_EQ(r.Take(4), 7u);
  EXPECT_EQ(r.Take(2), 2u);
  EXPECT_EQ(r.Take(4), 22u);  // laid out first
  EXPECT_EQ(aOffset, 22u + 54 + 3);
  EXPECT_EQ(film.segments[1].headerOffset, aOffset + 54 + film.segments[0].packedBlock.size());
  EXPECT_EQ(film.bytes[aOffset], 2);
  EXPECT_EQ(I32At(film.bytes, aOffset + 42), 123456);
  EXPECT_EQ(I32At(film.bytes, aOffset + 50), 54 + int32_t(film.segments[0].packedBlock.size()));
  EXPECT_EQ(I32At(film.bytes, 22 + 38), 3);
  EXPECT_EQ(Bytes(film.bytes.begin() + 22 + 54, film.bytes.begin() + 22 + 57), (Bytes{1, 2, 3}));

  options.layoutOrder = {0, 0, 1};
  EXPECT_THROW(BuildFilm({a, b, c}, options), std::invalid_argument);
}
