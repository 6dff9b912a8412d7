// Frame records made from pictures, laid back by a reference decoder written here from
// the record description: i32 size, i32 run count, then runs of (blue, green, red, u16
// count) filling the frame row after row, exclusive-or-ed onto the picture before.
#include <gtest/gtest.h>

#include "writer/data_file_writer.h"

using namespace filmwriter;

namespace {
uint32_t U32At(const Bytes& b, size_t at) {
  return uint32_t(b.at(at)) | uint32_t(b.at(at + 1)) << 8 | uint32_t(b.at(at + 2)) << 16 | uint32_t(b.at(at + 3)) << 24;
}

// Lays every record onto black and checks each result against its picture.
void ExpectRoundTrip(const std::vector<Picture>& pictures) {
  const auto records = FrameRecords(pictures);
  ASSERT_EQ(records.size(), pictures.size());
  std::vector<uint32_t> shown(pictures[0].pixels.size(), 0);
  for (size_t i = 0; i < records.size(); ++i) {
    const Bytes& record = records[i];
    const uint32_t runCount = U32At(record, 4);
    ASSERT_EQ(U32At(record, 0), 8 + 5 * runCount);
    ASSERT_EQ(record.size(), 8 + 5 * size_t(runCount));
    size_t pixel = 0;
    for (size_t at = 8; at < record.size(); at += 5) {
      const uint32_t count = record[at + 3] | uint32_t(record[at + 4]) << 8;
      const uint32_t colour = record[at] | uint32_t(record[at + 1]) << 8 | uint32_t(record[at + 2]) << 16;
      ASSERT_GE(count, 1u);
      ASSERT_LE(pixel + count, shown.size());
      for (uint32_t k = 0; k < count; ++k) shown[pixel++] ^= colour;
    }
    EXPECT_EQ(pixel, shown.size());
    ASSERT_EQ(shown, pictures[i].pixels) << "picture " << i;
  }
}
}  // namespace

TEST(FrameRecords, PicturesComeBackAndLongRunsAreSplitAtTheLargestCount) {
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
  ExpectRoundTrip(pictures);

  // 300 × 250 = 75000 pixels of one colour: two runs, 65535 and 9465 pixels.
  const std::vector<Picture> large = {Picture::Filled(300, 250, 0x123456), Picture::Filled(300, 250, 0x123456)};
  const auto records = FrameRecords(large);
  EXPECT_EQ(records[0], FrameRecord({{0x123456, 65535}, {0x123456, 9465}}));
  EXPECT_EQ(records[1], FrameRecord({{0, 65535}, {0, 9465}}));  // no change: colour 0
  ExpectRoundTrip(large);
}
