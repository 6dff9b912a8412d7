// Films read back field by field, with a small reader written here from the layout
// description. (Data files, frame records and the carriers are read back by the
// player's own readers in the data-file, frame, loader and kof tests.)
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

TEST(FilmWriter, DefaultLayoutIsTheRecorders) {
  SegmentSpec first;
  first.data.name = "Intro";
  first.data.pictures = {Picture::Filled(6, 3, 0x010203), Picture::Filled(6, 3, 0x010203)};
  first.sound = Bytes(100, 0xAB);
  SegmentSpec second = first;
  second.sound.clear();
  second.packing = Packing::Lzma;
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
  // A stored cabinet carries the data file verbatim at its end.
  EXPECT_EQ(std::string(s0.packedBlock.begin(), s0.packedBlock.begin() + 4), "MSCF");
  EXPECT_TRUE(std::equal(s0.data.bytes.rbegin(), s0.data.bytes.rend(), s0.packedBlock.rbegin()));
  // LZMA packing and three samples per frame in the flags; the packed block ends the film.
  EXPECT_EQ(Take(film.bytes, secondOffset + 14, {4})[0], 0x2101u);
  EXPECT_EQ(film.bytes.size(), secondOffset + 54 + film.segments[1].packedBlock.size());
  // Runs longer than a count field holds are split: 300 × 250 = 75000 pixels of one
  // colour are 65535 and 9465; no change is colour 0.
  const Picture flat = Picture::Filled(300, 250, 0x123456);
  EXPECT_EQ(FrameRecords({flat, flat}), (std::vector<Bytes>{FrameRecord({{0x123456, 65535}, {0x123456, 9465}}),
                                                          FrameRecord({{0, 65535}, {0, 9465}})}));
}
