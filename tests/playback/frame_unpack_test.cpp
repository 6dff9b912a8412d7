#include "playback/frame_unpack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "writer/data_file_writer.h"

using filmwriter::Bytes;
using filmwriter::FrameRecord;
using filmwriter::Run;

namespace {
// Random runs covering pixels + slack pixels: many colour-0 runs of every length
// (whole rows and more included), some of count 0, short runs and runs longer than a
// row.
std::vector<Run> RandomRuns(std::mt19937& rng, int64_t pixels, int32_t width, int64_t slack = 0) {
  std::vector<filmwriter::Run> runs;
  for (int64_t left = pixels + slack; left > 0;) {
    const int kind = int(rng() % 8);
    int64_t count = kind == 0 ? 0 : kind < 4 ? 1 + rng() % 7 : kind < 7 ? 1 + rng() % (3 * width) : 1 + rng() % 65535;
    count = std::min<int64_t>({count, left, 65535});
    runs.push_back({rng() % 3 == 0 ? 0 : uint32_t(rng() & 0xFFFFFF), uint16_t(count)});
    left -= count;
  }
  return runs;
}

// A picture in caller memory whose rows are extra bytes wider than needed, with guard
// bytes behind its last row. Every byte starts random: row ends and the fourth bytes of
// 32-bit pixels must come through the frame paths as they were.
struct WidePicture {
  static constexpr size_t kGuard = 64;
  std::vector<uint8_t> memory;
  TkoPictureView view;
  WidePicture(int32_t width, int32_t height, int32_t depth, int32_t extra, std::mt19937& rng) {
    const int32_t stride = width * BytesPerPixelOf(depth) + extra;
    memory.resize(size_t(stride) * size_t(height) + kGuard);
    for (uint8_t& b : memory) b = uint8_t(rng());
    view = {memory.data(), width, height, stride, depth};
  }
  WidePicture(const WidePicture& other) : memory(other.memory), view(other.view) { view.Pixels = memory.data(); }

  // The smallest rectangle holding the pixels that differ from a copy taken earlier.
  TkoRect ChangedSince(const WidePicture& before) const {
    TkoRect area{view.Width, view.Height, 0, 0};
    for (int32_t y = 0; y < view.Height; ++y)
      for (int32_t x = 0; x < view.Width; ++x)
        if (!std::equal(view.At(x, y), view.At(x, y) + view.BytesPerPixel(), before.view.At(x, y)))
          area = {std::min(area.Left, x), std::min(area.Top, y), std::max(area.Right, x + 1), std::max(area.Bottom, y + 1)};
    return area.IsEmpty() ? TkoRect{} : area;
  }
};
}  // namespace

TEST(FrameUnpack, DirectPathMatchesTheDifferenceBufferPath) {
  std::mt19937 rng(12345);
  for (const auto& [width, height] : {std::pair{770, 9}, {13, 9}, {5, 7}, {1, 200}, {3, 1}, {333, 2}, {65536, 2}})
    for (int32_t segmentDepth : {24, 32})
      for (int32_t pictureDepth : {24, 32})
        for (int32_t extra : {0, 9}) {
          WidePicture direct(width, height, pictureDepth, extra, rng), viaBuffer = direct;
          TkoPicture difference(width, height, segmentDepth, 1);
          for (int frame = 0; frame < 3; ++frame) {
            const Bytes record = FrameRecord(RandomRuns(rng, int64_t{width} * height, width));
            const WidePicture before = direct;
            TkoRect area;
            int64_t changed = 0;
            ASSERT_EQ(ApplyFrameRecord(record, direct.view, &changed, &area), TkoFrameStatus::kComplete);
            ASSERT_EQ(area, direct.ChangedSince(before)) << width << "x" << height;
            // Measured without a picture, the record changes the same.
            const TkoRecordChange measured = MeasureFrameRecord(record, width, height);
            ASSERT_EQ(measured.ChangedPixels, changed) << width << "x" << height;
            ASSERT_EQ(measured.Area, area) << width << "x" << height;
            // Random: a complete record rewrites every pixel.
            for (int32_t y = 0; y < height; ++y)
              for (int32_t x = 0; x < width; ++x) SetPixelColour(difference.View(), x, y, rng() & 0xFFFFFF);
            ASSERT_EQ(UnpackFrame(record, difference.View()), TkoFrameStatus::kComplete);
            XorPicture(difference.View(), viaBuffer.view);
            ASSERT_EQ(direct.memory, viaBuffer.memory)
                << width << "x" << height << " depths " << segmentDepth << "/" << pictureDepth << " extra " << extra;
          }
        }
}

TEST(FrameUnpack, DamagedAndCutRecordsMatchExpandingIntoAClearedBufferAndStayInside) {
  // Expanded into a black difference, a record lays on the picture exactly what the
  // direct path lays, however damaged: the runs it reaches, nothing else, nothing
  // outside the picture (the guard bytes stay).
  std::mt19937 rng(4242);
  for (int32_t depth : {24, 32}) {
    for (int trial = 0; trial < 60; ++trial) {
      const int32_t width = 1 + 2 * int32_t(rng() % 20), height = 1 + int32_t(rng() % 12);  // odd widths
      const int64_t pixels = int64_t{width} * height;
      const int64_t slack = trial % 3 == 0 ? -pixels / 2 : trial % 3 == 1 ? 500 : 0;
      Bytes record = FrameRecord(RandomRuns(rng, pixels, width, slack));
      switch (trial % 5) {  // spoil the head or cut the bytes
        case 1: record.resize(record.size() - 1 - rng() % std::min<size_t>(record.size() - 1, 20)); break;
        case 2: record[4] ^= uint8_t(1 + rng() % 200); break;
        case 3: record[0] = uint8_t(rng()), record[3] = uint8_t(rng() % 2 ? 0x80 : 0); break;
        case 4: record.resize(rng() % 8); break;
        default: break;
      }
      record.shrink_to_fit();  // the address sanitizer then sees any read past the bytes
      WidePicture direct(width, height, depth, int32_t(rng() % 6), rng), viaBuffer = direct;
      const Bytes guard(direct.memory.end() - WidePicture::kGuard, direct.memory.end());
      TkoPicture difference(width, height, depth);
      const WidePicture before = direct;
      TkoRect area;
      int64_t changed = 0;
      const TkoFrameStatus status = ApplyFrameRecord(record, direct.view, &changed, &area);
      EXPECT_EQ(area, direct.ChangedSince(before)) << "trial " << trial;
      const TkoRecordChange measured = MeasureFrameRecord(record, width, height);
      EXPECT_EQ(measured.ChangedPixels, changed) << "trial " << trial;
      EXPECT_EQ(measured.Area, area) << "trial " << trial;
      EXPECT_EQ(UnpackFrame(record, difference.View()), status) << "trial " << trial;
      XorPicture(difference.View(), viaBuffer.view);
      EXPECT_EQ(direct.memory, viaBuffer.memory) << "trial " << trial << " depth " << depth;
      EXPECT_TRUE(std::equal(guard.begin(), guard.end(), direct.memory.end() - WidePicture::kGuard));
    }
  }
}

TEST(FrameUnpack, StatusTellsHowTheRunsCoverTheFrame) {
  const int32_t pixels = 5 * 3;
  Bytes manyRuns = FrameRecord({{0x0000FF, 2}}), negative = manyRuns, cut = FrameRecord({{0xFF, 2}, {0xFF00, 3}});
  manyRuns[4] = manyRuns[5] = manyRuns[6] = 0xFF, manyRuns[7] = 0x7F;  // R huge
  negative[7] = 0x80;                                                   // R < 0
  cut.resize(cut.size() - 3);                                           // S past the bytes at hand
  const std::pair<Bytes, TkoFrameStatus> cases[] = {
      {FrameRecord({{0xFFFFFF, pixels}, {0x123456, 0}}), TkoFrameStatus::kComplete},
      {FrameRecord({{0xFFFFFF, pixels - 1}}), TkoFrameStatus::kShort},
      {FrameRecord({{0xFFFFFF, pixels + 1}}), TkoFrameStatus::kOverrun},
      {FrameRecord({{0xFFFFFF, pixels}, {0x123456, 65535}}), TkoFrameStatus::kOverrun},
      {manyRuns, TkoFrameStatus::kBadRecord}, {negative, TkoFrameStatus::kBadRecord},
      {cut, TkoFrameStatus::kBadRecord}, {Bytes{1, 2, 3}, TkoFrameStatus::kBadRecord},
  };
  for (int32_t depth : {24, 32}) {
    // Exactly sized, so that the address sanitizer sees any stray access.
    TkoPicture picture(5, 3, depth), difference(5, 3, depth);
    for (const auto& [record, status] : cases) {
      EXPECT_EQ(ApplyFrameRecord(record, picture.View()), status) << int(status);
      EXPECT_EQ(UnpackFrame(record, difference.View()), status) << int(status);
    }
  }
  TkoPicture noPicture;
  EXPECT_EQ(ApplyFrameRecord(FrameRecord({{1, 1}}), noPicture.View()), TkoFrameStatus::kNoPicture);
}
