#include "playback/frame_unpack.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {
using Bytes = std::vector<uint8_t>;

struct TestRun {
  uint32_t colour;  // 0x00RRGGBB
  uint16_t count;
};

void PutInt32(Bytes& out, int32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i)));
}

Bytes Record(const std::vector<TestRun>& runs) {
  Bytes out;
  PutInt32(out, int32_t(8 + 5 * runs.size()));
  PutInt32(out, int32_t(runs.size()));
  for (const TestRun& r : runs) {
    out.push_back(uint8_t(r.colour));
    out.push_back(uint8_t(r.colour >> 8));
    out.push_back(uint8_t(r.colour >> 16));
    out.push_back(uint8_t(r.count));
    out.push_back(uint8_t(r.count >> 8));
  }
  return out;
}

// Random runs covering pixels + slack pixels: many colour-0 runs of every length
// (whole rows and more included), some of count 0, short runs and runs longer than a
// row.
std::vector<TestRun> RandomRuns(std::mt19937& rng, int64_t pixels, int32_t width, int64_t slack = 0) {
  std::vector<TestRun> runs;
  for (int64_t left = pixels + slack; left > 0;) {
    const int kind = int(rng() % 8);
    int64_t count = kind == 0 ? 0 : kind < 4 ? 1 + rng() % 7 : kind < 7 ? 1 + rng() % (3 * width) : 1 + rng() % 65535;
    count = std::min<int64_t>({count, left, 65535});
    const uint32_t colour = rng() % 3 == 0 ? 0 : rng() & 0xFFFFFF;
    runs.push_back({colour, uint16_t(count)});
    left -= count;
  }
  return runs;
}

void Randomise(TkoPicture& picture, std::mt19937& rng) {
  const TkoPictureView v = picture.View();
  for (int32_t y = 0; y < v.Height; ++y)
    for (int32_t x = 0; x < v.Width; ++x) SetPixelColour(v, x, y, rng() & 0xFFFFFF);
}

// A picture in exactly sized caller memory whose rows are extra bytes wider than
// needed. Every byte starts random: row ends and the fourth bytes of 32-bit pixels
// must come through the frame paths as they were.
struct WidePicture {
  std::vector<uint8_t> memory;
  TkoPictureView view;
  WidePicture(int32_t width, int32_t height, int32_t depth, int32_t extra, std::mt19937& rng) {
    const int32_t stride = width * BytesPerPixelOf(depth) + extra;
    memory.resize(size_t(stride) * size_t(height));
    for (uint8_t& b : memory) b = uint8_t(rng());
    view = {memory.data(), width, height, stride, depth};
  }
  WidePicture(const WidePicture& other) : memory(other.memory), view(other.view) { view.Pixels = memory.data(); }
};
}  // namespace

TEST(FrameUnpack, DirectPathMatchesTheDifferenceBufferPath) {
  std::mt19937 rng(12345);
  struct Shape {
    int32_t width, height;
  };
  for (Shape shape : {Shape{770, 9}, Shape{13, 9}, Shape{5, 7}, Shape{1, 200}, Shape{3, 1}, Shape{333, 2},
                      Shape{65536, 2}}) {
    for (int32_t segmentDepth : {24, 32}) {
      for (int32_t pictureDepth : {24, 32}) {
        for (int32_t extra : {0, 9}) {
          WidePicture direct(shape.width, shape.height, pictureDepth, extra, rng);
          WidePicture viaBuffer = direct;
          TkoPicture difference(shape.width, shape.height, segmentDepth, 1);
          for (int frame = 0; frame < 3; ++frame) {
            const Bytes record = Record(RandomRuns(rng, int64_t{shape.width} * shape.height, shape.width));
            ASSERT_EQ(ApplyFrameRecord(record, direct.view), TkoFrameStatus::kComplete);
            Randomise(difference, rng);  // a complete record rewrites every pixel
            ASSERT_EQ(UnpackFrame(record, difference.View()), TkoFrameStatus::kComplete);
            XorPicture(difference.View(), viaBuffer.view);
            ASSERT_EQ(direct.memory, viaBuffer.memory) << shape.width << "x" << shape.height << " depths "
                                                       << segmentDepth << "/" << pictureDepth << " extra " << extra
                                                       << " frame " << frame;
          }
        }
      }
    }
  }
}

TEST(FrameUnpack, DamagedAndCutRecordsMatchExpandingIntoAClearedBuffer) {
  // Expanded into a black difference, a record lays on the picture exactly what the
  // direct path lays, however damaged: the runs it reaches, nothing else.
  std::mt19937 rng(4242);
  for (int32_t depth : {24, 32}) {
    for (int trial = 0; trial < 60; ++trial) {
      const int32_t width = 1 + 2 * int32_t(rng() % 20), height = 1 + int32_t(rng() % 12);  // odd widths
      const int64_t pixels = int64_t{width} * height;
      const int64_t slack = trial % 3 == 0 ? -pixels / 2 : trial % 3 == 1 ? 500 : 0;
      Bytes record = Record(RandomRuns(rng, pixels, width, slack));
      switch (trial % 5) {  // spoil the head or cut the bytes
        case 1: record.resize(record.size() - 1 - rng() % std::min<size_t>(record.size() - 1, 20)); break;
        case 2: record[4] ^= uint8_t(1 + rng() % 200); break;
        case 3: record[0] = uint8_t(rng()), record[3] = uint8_t(rng() % 2 ? 0x80 : 0); break;
        case 4: record.resize(rng() % 8); break;
        default: break;
      }
      record.shrink_to_fit();  // the address sanitizer then sees any read past the bytes
      WidePicture direct(width, height, depth, int32_t(rng() % 6), rng);
      WidePicture viaBuffer = direct;
      TkoPicture difference(width, height, depth);
      const TkoFrameStatus status = ApplyFrameRecord(record, direct.view);
      EXPECT_EQ(UnpackFrame(record, difference.View()), status) << "trial " << trial;
      XorPicture(difference.View(), viaBuffer.view);
      EXPECT_EQ(direct.memory, viaBuffer.memory) << "trial " << trial << " depth " << depth;
    }
  }
}

TEST(FrameUnpack, RowPaddingAtDepth24IsSkipped) {
  // Depth 24, W = 770: rows of 2310 bytes padded to 2312. A run of 1000 pixels fills
  // row 0 and continues at column 0 of row 1; the next run starts at column 230.
  TkoPicture difference(770, 3, 24, 1);
  ASSERT_EQ(difference.Stride(), 2312);
  std::fill_n(difference.View().Pixels, difference.Memory().size(), uint8_t(0x55));
  const Bytes record = Record({{0x112233, 1000}, {0x0000FF, 540}, {0x00FF00, 770}});
  EXPECT_EQ(UnpackFrame(record, difference.View()), TkoFrameStatus::kComplete);
  const TkoPictureView v = difference.View();
  EXPECT_EQ(PixelColour(v, 769, 0), 0x112233u);
  EXPECT_EQ(v.Row(0)[2310], 0x55) << "padding untouched";
  EXPECT_EQ(v.Row(0)[2311], 0x55);
  EXPECT_EQ(PixelColour(v, 229, 1), 0x112233u);
  EXPECT_EQ(PixelColour(v, 230, 1), 0x0000FFu);
  EXPECT_EQ(PixelColour(v, 769, 1), 0x0000FFu) << "a run ending at the row end";
  EXPECT_EQ(PixelColour(v, 0, 2), 0x00FF00u) << "the next run starts at column 0";
  EXPECT_EQ(PixelColour(v, 769, 2), 0x00FF00u);
  EXPECT_EQ(v.Row(3)[0], 0x55) << "the spare row is not written";

  TkoPicture picture(770, 3, 24);
  EXPECT_EQ(ApplyFrameRecord(record, picture.View()), TkoFrameStatus::kComplete);
  EXPECT_EQ(PixelColour(picture.View(), 229, 1), 0x112233u);
  EXPECT_EQ(PixelColour(picture.View(), 0, 2), 0x00FF00u);
}

TEST(FrameUnpack, ColourZeroAndCountZeroRunsChangeNothing) {
  std::mt19937 rng(7);
  TkoPicture picture(770, 695, 32);
  Randomise(picture, rng);
  const Bytes before = picture.Memory();
  // 770 x 695 = 535150 pixels: eight runs of 65535 and one of 10870, plus count-0 runs
  // of other colours in between.
  std::vector<TestRun> runs;
  for (int i = 0; i < 8; ++i) runs.push_back({0, 65535}), runs.push_back({0xABCDEF, 0});
  runs.push_back({0, 535150 - 8 * 65535});
  EXPECT_EQ(ApplyFrameRecord(Record(runs), picture.View()), TkoFrameStatus::kComplete);
  EXPECT_EQ(picture.Memory(), before);

  // The first record on black is the picture; the fourth byte of 32-bit pixels stays.
  TkoPicture black(5, 2, 32);
  black.View().Row(1)[4 * 4 + 3] = 0x7F;
  EXPECT_EQ(ApplyFrameRecord(Record({{0x010203, 3}, {0, 0}, {0xFFFFFF, 7}}), black.View()), TkoFrameStatus::kComplete);
  EXPECT_EQ(PixelColour(black.View(), 2, 0), 0x010203u);
  EXPECT_EQ(PixelColour(black.View(), 3, 0), 0xFFFFFFu);
  EXPECT_EQ(PixelColour(black.View(), 4, 1), 0xFFFFFFu);
  EXPECT_EQ(black.View().Row(1)[4 * 4 + 3], 0x7F);
}

TEST(FrameUnpack, ShortRecordsDifferOnlyInWhatIsLaidAgain) {
  TkoPicture difference(4, 2, 32, 1);
  TkoPicture direct(4, 2, 32), viaBuffer(4, 2, 32);
  const Bytes full = Record({{0x000010, 8}});
  const Bytes half = Record({{0x000001, 4}});
  ApplyFrameRecord(full, direct.View());
  UnpackFrame(full, difference.View());
  XorPicture(difference.View(), viaBuffer.View());

  EXPECT_EQ(ApplyFrameRecord(half, direct.View()), TkoFrameStatus::kShort);
  EXPECT_EQ(UnpackFrame(half, difference.View()), TkoFrameStatus::kShort);
  XorPicture(difference.View(), viaBuffer.View());
  // Row 0 alike; row 1 holds the old difference laid on once more in the buffer path.
  EXPECT_EQ(PixelColour(direct.View(), 0, 0), 0x000011u);
  EXPECT_EQ(PixelColour(viaBuffer.View(), 0, 0), 0x000011u);
  EXPECT_EQ(PixelColour(direct.View(), 3, 1), 0x000010u);
  EXPECT_EQ(PixelColour(viaBuffer.View(), 3, 1), 0x000000u);
  EXPECT_STRNE(FrameStatusText(TkoFrameStatus::kShort), "");
}

TEST(FrameUnpack, DamagedRecordsStayInsideRecordAndPicture) {
  // Exactly sized buffers, so that the address sanitizer sees any stray access.
  for (int32_t depth : {24, 32}) {
    for (int32_t width : {5, 8}) {
      TkoPicture picture(width, 3, depth);
      TkoPicture difference(width, 3, depth);  // no spare row either
      const int32_t pixels = width * 3;
      auto both = [&](const Bytes& record) {
        const TkoFrameStatus a = ApplyFrameRecord(record, picture.View());
        const TkoFrameStatus b = UnpackFrame(record, difference.View());
        EXPECT_EQ(a, b);
        return a;
      };
      EXPECT_EQ(both(Record({{0xFFFFFF, uint16_t(pixels + 1)}})), TkoFrameStatus::kOverrun);
      EXPECT_EQ(both(Record({{0xFFFFFF, uint16_t(pixels)}, {0x123456, 65535}})), TkoFrameStatus::kOverrun);
      EXPECT_EQ(both(Record({{0xFFFFFF, uint16_t(pixels)}, {0x123456, 0}})), TkoFrameStatus::kComplete);

      Bytes manyRuns = Record({{0x0000FF, 2}});
      manyRuns[4] = 0xFF, manyRuns[5] = 0xFF, manyRuns[6] = 0xFF, manyRuns[7] = 0x7F;  // R huge
      EXPECT_EQ(both(manyRuns), TkoFrameStatus::kBadRecord);
      Bytes negative = Record({{0x0000FF, 2}});
      negative[7] = 0x80;  // R < 0
      EXPECT_EQ(both(negative), TkoFrameStatus::kBadRecord);
      Bytes cut = Record({{0x0000FF, 2}, {0x00FF00, 3}});
      cut.resize(cut.size() - 3);  // size field past the bytes at hand
      EXPECT_EQ(both(cut), TkoFrameStatus::kBadRecord);
      EXPECT_EQ(both(Bytes{1, 2, 3}), TkoFrameStatus::kBadRecord);
      EXPECT_EQ(both(Bytes{}), TkoFrameStatus::kBadRecord);
    }
  }
  TkoPicture wrongDepth;
  EXPECT_EQ(ApplyFrameRecord(Record({{1, 1}}), wrongDepth.View()), TkoFrameStatus::kNoPicture);
  EXPECT_FALSE(wrongDepth.Resize(4, 4, 16));
}
