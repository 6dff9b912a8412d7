// Cursor records decoded and drawn (TkoCursor), and the pointer drawn into the picture
// with its save-under area (TkoCursorOverlay).
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "playback/cursor_drawing.h"
#include "playback/cursor_overlay.h"
#include "playback/frame_unpack.h"
#include "writer/data_file_writer.h"

using filmwriter::Bytes;

namespace {
struct Part {
  int32_t size, width, height;
  uint8_t bpp;
  Bytes bits;
};
const Part kNoPart{0, 0, 0, 0, {}};

Bytes Record(int32_t hotX, int32_t hotY, const Part& mask, const Part& colour) {
  return filmwriter::CursorRecord({hotX, hotY, mask.size, mask.width, mask.height, mask.bpp, mask.bits, colour.size,
                                   colour.width, colour.height, colour.bpp, colour.bits});
}

// A 1-bit mask, rows padded to 16 bits, with pixel (x, y) set where set(x, y).
template <class F>
Part Mask(int32_t width, int32_t height, F set) {
  const int32_t row = (width + 15) / 16 * 2;
  Part part{row * height, width, height, 1, Bytes(size_t(row * height), 0)};
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      if (set(x, y)) part.bits[size_t(y * row + x / 8)] |= uint8_t(0x80 >> (x % 8));
  return part;
}

// Colour bits, rows padded to 4 bytes, pixel (x, y) = colour(x, y) as 0x00RRGGBB.
template <class F>
Part Colour(int32_t width, int32_t height, uint8_t bpp, F colour) {
  const int32_t step = bpp / 8, row = (width * step + 3) / 4 * 4;
  Part part{row * height, width, height, bpp, Bytes(size_t(row * height), 0xEE)};
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      uint8_t* p = &part.bits[size_t(y * row + x * step)];
      const uint32_t c = colour(x, y);
      p[0] = uint8_t(c), p[1] = uint8_t(c >> 8), p[2] = uint8_t(c >> 16);
    }
  return part;
}

TkoMemoryStream StreamOf(const Bytes& bytes) {
  TkoMemoryStream stream;
  stream.Write(bytes.data(), int32_t(bytes.size()));
  stream.SetPosition(0);
  return stream;
}

// A picture whose pattern shows what AND and XOR did to it.
TkoPicture Patterned(int32_t w, int32_t h, int32_t depth) {
  TkoPicture picture(w, h, depth);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) SetPixelColour(picture.View(), x, y, 0x102030u * uint32_t(x + 3 * y + 1));
  return picture;
}

std::unique_ptr<TkoCursor> Loaded(const Bytes& record) {
  auto cursor = std::make_unique<TkoCursor>();
  TkoMemoryStream stream = StreamOf(record);
  EXPECT_EQ(cursor->Load(stream), TkoCursor::kLoaded) << cursor->Damage();
  return cursor;
}

TkoMemoryStream Track(const std::vector<TkoCursorSample>& samples) {
  Bytes bytes;
  for (const TkoCursorSample& s : samples)
    for (uint16_t v : {s.Index, s.X, s.Y}) bytes.push_back(uint8_t(v)), bytes.push_back(uint8_t(v >> 8));
  return StreamOf(bytes);
}

// One tick with one sample per frame, as the clock runs it.
void Tick(TkoCursorOverlay& overlay, const TkoPictureView& picture, TkoStream& track,
          const std::vector<const TkoCursor*>& cursors, const Bytes* frame = nullptr) {
  overlay.Restore(picture);
  if (frame) ApplyFrameRecord(*frame, picture);
  overlay.ReadSample(track);
  const uint16_t index = overlay.LastSample().Index;
  overlay.SelectCursor(index < cursors.size() ? cursors[index] : nullptr);
  overlay.Save(picture);
  overlay.DrawCurrent(picture);
  overlay.Commit();
}
}  // namespace

TEST(Cursor, RecordsFollowEachOtherAndColourImagesOf24And32BitsDrawClippedAtEveryEdge) {
  auto colourOf = [](int x, int y) { return uint32_t(0x0A0B0C * (x + 1) + 0x010203 * y) & 0xFFFFFF; };
  for (uint8_t bpp : {uint8_t(32), uint8_t(24)}) {
    // An empty slot (34 bytes, not damage, nothing to draw), a monochrome cursor, and
    // the one drawn: 5 x 4 with its hot spot at (2, 1), the mask keeping columns 3 and
    // 4; 24-bit rows of 15 bytes padded to 16.
    const Bytes records = filmwriter::Concat(
        {Record(1, 2, kNoPart, kNoPart), Record(1, 1, Mask(8, 16, [](int, int) { return true; }), kNoPart),
         Record(2, 1, Mask(5, 4, [](int x, int) { return x >= 3; }), Colour(5, 4, bpp, colourOf))});
    TkoMemoryStream stream = StreamOf(records);
    TkoCursor cursor;
    EXPECT_EQ(cursor.Load(stream), TkoCursor::kLoaded);
    EXPECT_EQ(stream.GetPosition(), 34);
    EXPECT_TRUE(cursor.IsEmpty() && cursor.Damage().empty());
    for (int i = 0; i < 2; ++i) ASSERT_EQ(cursor.Load(stream), TkoCursor::kLoaded) << cursor.Damage();
    EXPECT_EQ(stream.GetPosition(), int32_t(records.size()));
    for (const auto& [hotX, hotY] : {std::pair{0, 0}, {5, 5}, {4, 2}, {-100, 3}, {INT32_MAX, INT32_MIN}}) {
      TkoPicture picture = Patterned(6, 6, 32), original = Patterned(6, 6, 32);
      DrawCursor(cursor, picture.View(), hotX, hotY);
      for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
          const int64_t cx = int64_t{x} - hotX + 2, cy = int64_t{y} - hotY + 1;
          uint32_t want = PixelColour(original.View(), x, y);
          if (cx >= 0 && cx < 5 && cy >= 0 && cy < 4) want = (cx >= 3 ? want : 0) ^ colourOf(int(cx), int(cy));
          EXPECT_EQ(PixelColour(picture.View(), x, y), want) << int(bpp) << " at " << x << "," << y;
        }
    }
  }
}

TEST(Cursor, DamagedRecordsAreRefusedWithAReason) {
  const Part goodMask = Mask(16, 32, [](int, int) { return false; });
  const Part colour = Colour(16, 16, 32, [](int, int) { return 1u; });
  auto mask = [&](auto change) {
    Part part = goodMask;
    change(part);
    return Record(0, 0, part, kNoPart);
  };
  Part colour16 = colour;
  colour16.bpp = 16;
  const std::vector<std::tuple<const char*, Bytes, bool>> cases = {
      {"mask size not matching", mask([](Part& p) { p.size -= 2, p.bits.resize(size_t(p.size)); }), true},
      {"two-bit mask", mask([](Part& p) { p.bpp = 2; }), true},
      {"zero width", mask([](Part& p) { p.width = 0; }), true},
      {"odd monochrome mask", Record(0, 0, Mask(16, 31, [](int, int) { return true; }), kNoPart), true},
      {"16-bit colour", Record(0, 0, Mask(16, 16, [](int, int) { return true; }), colour16), true},
      {"colour without mask", Record(0, 0, kNoPart, colour), true},
      {"huge mask size", mask([](Part& p) { p.size = TkoCursor::kMaxBitsSize + 1, p.bits.clear(); }), false},
  };
  for (const auto& [what, record, consumed] : cases) {
    TkoMemoryStream stream = StreamOf(record);
    TkoCursor cursor;
    EXPECT_EQ(cursor.Load(stream), TkoCursor::kNoImage) << what;
    EXPECT_TRUE(cursor.IsEmpty()) << what;
    EXPECT_FALSE(cursor.Damage().empty()) << what;
    EXPECT_EQ(cursor.RecordConsumed(), consumed) << what;
    EXPECT_TRUE(!consumed || stream.GetPosition() == int32_t(record.size())) << what;
  }
  // A record cut short anywhere is damaged and leaves nothing to draw.
  const Bytes whole = Record(3, 3, Mask(16, 16, [](int, int) { return true; }), colour);
  for (size_t cut : {size_t(0), size_t(20), size_t(21), size_t(40), size_t(60), whole.size() - 1}) {
    TkoMemoryStream stream = StreamOf(Bytes(whole.begin(), whole.begin() + ptrdiff_t(cut)));
    TkoCursor cursor;
    EXPECT_EQ(cursor.Load(stream), TkoCursor::kNoImage) << cut;
    EXPECT_TRUE(!cursor.RecordConsumed() && cursor.IsEmpty()) << cut;
  }
}

TEST(CursorOverlay, PointerNeverLeaksIntoTheFrames) {
  // Random frames and a wandering pointer, also off the picture (cursors of every kind,
  // one colour image wider than its mask, one never loaded, and an index naming none):
  // after taking the pointer out, the picture always equals the frames laid on without
  // any pointer. The pointer's corner is the sample's point less the hot spot.
  std::mt19937 rng(99);
  // Monochrome: the AND half blackens the left half, the XOR half inverts the top row.
  const auto mono = Loaded(Record(3, 2, Mask(16, 32, [](int x, int y) { return y < 16 ? x >= 8 : y == 16; }), kNoPart));
  const auto solid = Loaded(Record(11, 19, Mask(12, 20, [](int, int) { return false; }),
                                   Colour(12, 20, 32, [](int, int) { return 0x00FF00u; })));
  const auto wide = Loaded(Record(0, 0, Mask(8, 8, [](int, int) { return true; }),
                                  Colour(30, 8, 24, [](int, int) { return 0xFFFFFFu; })));
  TkoCursor failed;
  const std::vector<const TkoCursor*> cursors = {mono.get(), solid.get(), wide.get(), &failed};
  TkoCursorOverlay overlay;
  for (const TkoCursor* c : cursors) overlay.GrowFor(*c);
  EXPECT_FALSE(overlay.GrowTo(10, 10));
  EXPECT_EQ((std::pair{overlay.LargestWidth(), overlay.LargestHeight()}), (std::pair{30, 32}));
  overlay.Reset();
  TkoPicture withPointer(37, 23, 24), plain(37, 23, 24);
  std::vector<TkoCursorSample> samples;
  for (int i = 0; i < 80; ++i) samples.push_back({uint16_t(rng() % 5), uint16_t(rng() % 45), uint16_t(rng() % 30)});
  TkoMemoryStream track = Track(samples);
  for (int i = 0; i < 80; ++i) {
    std::vector<filmwriter::Run> runs;
    for (uint32_t left = 37 * 23, n; left > 0; left -= n) {
      n = std::min<uint32_t>(left, uint32_t(1 + rng() % 90));
      runs.push_back({uint32_t(rng() % 2 ? 0 : rng() & 0xFFFFFF), uint16_t(n)});
    }
    const Bytes frame = filmwriter::FrameRecord(runs);
    Tick(overlay, withPointer.View(), track, cursors, &frame);
    const TkoCursorSample& sample = samples[size_t(i)];
    if (sample.Index < 4) {
      const TkoCursor& cursor = *cursors[sample.Index];
      EXPECT_EQ(overlay.NewPosition(), (TkoPoint{sample.X - cursor.HotSpotX(), sample.Y - cursor.HotSpotY()}));
    }
    ApplyFrameRecord(frame, plain.View());
    TkoPicture check = withPointer;
    TkoCursorOverlay copy = overlay;
    copy.Restore(check.View());
    ASSERT_EQ(check.Memory(), plain.Memory()) << "frame " << i;
  }
  EXPECT_FALSE(overlay.ReadSample(track)) << "the end of the track keeps the last sample";
  EXPECT_EQ(overlay.LastSample().X, samples.back().X);
}
