// Frame records made from pictures, laid back onto a bitmap by a reference decoder
// written here from the record description: runs of (blue, green, red, u16 count)
// filling the frame row after row, XOR-ed onto the picture before.
#include <gtest/gtest.h>

#include "support/data_file_writer.h"

using namespace filmwriter;

namespace {
uint32_t ReadU32(const Bytes& b, size_t at) {
  return uint32_t(b.at(at)) | uint32_t(b.at(at + 1)) << 8 | uint32_t(b.at(at + 2)) << 16 |
         uint32_t(b.at(at + 3)) << 24;
}

// A W × H bitmap at 24 or 32 bits per pixel, rows padded to 4 bytes.
struct Bitmap {
  int width, height, bytesPerPixel;
  size_t stride;
  Bytes bits;
  Bitmap(int w, int h, int depth)
      : width(w), height(h), bytesPerPixel(depth / 8),
        stride((size_t(w) * size_t(depth / 8) + 3) / 4 * 4), bits(stride * size_t(h), 0) {}
  uint32_t Pixel(int x, int y) const {
    const size_t at = size_t(y) * stride + size_t(x) * size_t(bytesPerPixel);
    return uint32_t(bits[at]) | uint32_t(bits[at + 1]) << 8 | uint32_t(bits[at + 2]) << 16;
  }
};

// Lays one record onto the bitmap; checks the record's own consistency on the way.
void ApplyRecord(const Bytes& record, Bitmap& picture) {
  const uint32_t runCount = ReadU32(record, 4);
  ASSERT_EQ(ReadU32(record, 0), 8 + 5 * runCount);
  ASSERT_EQ(record.size(), 8 + 5 * size_t(runCount));
  size_t pixel = 0;
  for (size_t r = 0; r < runCount; ++r) {
    const size_t at = 8 + 5 * r;
    const uint32_t count = record[at + 3] | uint32_t(record[at + 4]) << 8;
    ASSERT_GE(count, 1u);
    for (uint32_t k = 0; k < count; ++k, ++pixel) {
      ASSERT_LT(pixel, size_t(picture.width) * size_t(picture.height));
      const size_t x = pixel % size_t(picture.width), y = pixel / size_t(picture.width);
      uint8_t* target = &picture.bits[y * picture.stride + x * size_t(picture.bytesPerPixel)];
      for (int c = 0; c < 3; ++c) target[c] ^= record[at + size_t(c)];
    }
  }
  EXPECT_EQ(pixel, size_t(picture.width) * size_t(picture.height));
}

void ExpectRoundTrip(const std::vector<Picture>& pictures, int depth) {
  const auto records = FrameRecords(pictures);
  ASSERT_EQ(records.size(), pictures.size());
  Bitmap bitmap(pictures[0].width, pictures[0].height, depth);
  for (size_t i = 0; i < records.size(); ++i) {
    ApplyRecord(records[i], bitmap);
    for (int y = 0; y < bitmap.height; ++y)
      for (int x = 0; x < bitmap.width; ++x)
        ASSERT_EQ(bitmap.Pixel(x, y), pictures[i].At(x, y) & 0xFFFFFF)
            << "picture " << i << " at " << x << "," << y << " depth " << depth;
  }
}

std::vector<Picture> ChangingPictures(int width, int height) {
  std::vector<Picture> pictures = {Picture::Filled(width, height, 0x203040)};
  uint32_t seed = 7;
  for (int frame = 0; frame < 4; ++frame) {
    Picture next = pictures.back();
    for (int n = 0; n < width * height / 3; ++n) {
      seed = seed * 1664525u + 1013904223u;
      next.pixels[(seed >> 8) % next.pixels.size()] = frame % 2 ? seed & 0xFFFFFF : 0xFF00FF;
    }
    pictures.push_back(next);
  }
  pictures.push_back(pictures.back());  // a frame that changes nothing
  return pictures;
}
}  // namespace

TEST(FrameRecords, PicturesComeBackAtDepth24And32) {
  for (int depth : {24, 32}) {
    ExpectRoundTrip(ChangingPictures(7, 5), depth);   // 21-byte rows: padded at depth 24
    ExpectRoundTrip(ChangingPictures(16, 9), depth);  // rows without padding
  }
}

TEST(FrameRecords, LongRunsAreSplitAtTheLargestCountAndSpanRows) {
  // 300 × 250 = 75000 pixels of one colour: two runs, 65535 and 9465 pixels.
  const std::vector<Picture> pictures = {Picture::Filled(300, 250, 0x123456),
                                         Picture::Filled(300, 250, 0x123456)};
  const auto records = FrameRecords(pictures);
  EXPECT_EQ(records[0], FrameRecord({{0x123456, 65535}, {0x123456, 9465}}));
  EXPECT_EQ(records[1], FrameRecord({{0, 65535}, {0, 9465}}));  // no change: colour 0
  ExpectRoundTrip(pictures, 24);
}
