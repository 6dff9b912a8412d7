// The player's per-frame path against the two reference paths: intact records against
// expand-then-XOR, damaged and cut records against ApplyFrameRecord, on pictures with
// padded and wider-than-needed rows.
#include "playback/frame_apply.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {
using Bytes = std::vector<uint8_t>;

void PutInt32(Bytes& out, int32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i)));
}

// Random runs covering pixels pixels (more or fewer with slack): colour-0 runs of
// every length (whole rows and more included), count-0 runs, single pixels.
Bytes RandomRecord(std::mt19937& rng, int64_t pixels, int32_t width, int64_t slack = 0) {
  Bytes runs;
  int32_t count = 0;
  for (int64_t left = pixels + slack; left > 0; ++count) {
    const int kind = int(rng() % 8);
    int64_t n = kind == 0 ? 0 : kind < 4 ? 1 + rng() % 3 : kind < 6 ? 1 + rng() % (3 * width) : 1 + rng() % 65535;
    n = std::min<int64_t>({n, left, 65535});
    const uint32_t colour = rng() % 2 == 0 ? 0 : rng() & 0xFFFFFF;
    for (int i = 0; i < 3; ++i) runs.push_back(uint8_t(colour >> (8 * i)));
    runs.push_back(uint8_t(n));
    runs.push_back(uint8_t(n >> 8));
    left -= n;
  }
  Bytes record;
  PutInt32(record, int32_t(8 + runs.size()));
  PutInt32(record, count);
  record.insert(record.end(), runs.begin(), runs.end());
  return record;
}

// A picture in caller memory whose rows are extra bytes wider than needed; the extra
// bytes hold a pattern that must survive.
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

TEST(FrameApply, IntactRecordsGiveTheExpandThenXorPicture) {
  std::mt19937 rng(777);
  struct Shape {
    int32_t width, height;
  };
  for (Shape shape : {Shape{770, 11}, Shape{13, 9}, Shape{1, 200}, Shape{3, 1}, Shape{65536, 2}}) {
    for (int32_t depth : {24, 32}) {
      for (int32_t extra : {0, 4, 9}) {
        WidePicture laid(shape.width, shape.height, depth, extra, rng);
        WidePicture reference = laid;
        TkoPicture difference(shape.width, shape.height, depth, 1);
        for (int frame = 0; frame < 3; ++frame) {
          const Bytes record = RandomRecord(rng, int64_t{shape.width} * shape.height, shape.width);
          ASSERT_EQ(LayFrameRecord(record, laid.view), TkoFrameStatus::kComplete);
          ASSERT_EQ(UnpackFrame(record, difference.View()), TkoFrameStatus::kComplete);
          XorPicture(difference.View(), reference.view);
          ASSERT_EQ(laid.memory, reference.memory)
              << shape.width << "x" << shape.height << " depth " << depth << " extra " << extra << " frame " << frame;
        }
      }
    }
  }
}

TEST(FrameApply, DamagedRecordsAreLaidAsFarAsApplyFrameRecordLaysThem) {
  std::mt19937 rng(4242);
  for (int32_t depth : {24, 32}) {
    for (int trial = 0; trial < 40; ++trial) {
      const int32_t width = 1 + int32_t(rng() % 40), height = 1 + int32_t(rng() % 12);
      const int64_t pixels = int64_t{width} * height;
      Bytes record = RandomRecord(rng, pixels, width, trial % 3 == 0 ? -pixels / 2 : trial % 3 == 1 ? 500 : 0);
      switch (trial % 5) {  // spoil the head or cut the bytes
        case 1: record.resize(record.size() - 1 - rng() % std::min<size_t>(record.size() - 1, 20)); break;
        case 2: record[4] ^= uint8_t(1 + rng() % 200); break;
        case 3: record[0] = uint8_t(rng()), record[3] = uint8_t(rng() % 2 ? 0x80 : 0); break;
        case 4: record.resize(rng() % 8); break;
        default: break;
      }
      WidePicture laid(width, height, depth, int32_t(rng() % 6), rng);
      WidePicture reference = laid;
      const TkoFrameStatus expected = ApplyFrameRecord(record, reference.view);
      EXPECT_EQ(LayFrameRecord(record, laid.view), expected) << "trial " << trial;
      EXPECT_EQ(laid.memory, reference.memory) << "trial " << trial << " depth " << depth;
    }
  }
  TkoPictureView empty;
  EXPECT_EQ(LayFrameRecord(RandomRecord(rng, 4, 2), empty), TkoFrameStatus::kNoPicture);
}
