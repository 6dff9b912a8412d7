#include "playback/ko_cursor.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "playback/cursor_records.h"

using namespace cursor_records;

TEST(Cursor, EmptySlotTakesThirtyFourBytesAndDrawsNothing) {
  Bytes bytes = Record(1, 2, kNoPart, kNoPart);
  bytes.push_back(0xAB);
  TkoMemoryStream stream = StreamOf(bytes);
  TkoCursor cursor;
  EXPECT_EQ(cursor.Load(stream), TkoCursor::kLoaded);
  EXPECT_EQ(stream.GetPosition(), 34);
  EXPECT_TRUE(cursor.IsEmpty());
  EXPECT_TRUE(cursor.Damage().empty()) << "an empty slot is not damage";

  TkoPicture picture = Patterned(8, 8, 32);
  const auto before = picture.Memory();
  cursor.Draw(picture.View(), 4, 4);
  EXPECT_EQ(picture.Memory(), before);
}

TEST(Cursor, ColourCursorsAt32And24BitsAndClipping) {
  auto colourOf = [](int x, int y) { return uint32_t(0x0A0B0C * (x + 1) + 0x010203 * y) & 0xFFFFFF; };
  for (uint8_t bpp : {uint8_t(32), uint8_t(24)}) {
    // 5 pixels wide: 24-bit rows of 15 bytes padded to 16.
    const Part mask = Mask(5, 4, [](int x, int) { return x >= 3; });
    const Part colour = Colour(5, 4, bpp, colourOf);
    TkoMemoryStream stream = StreamOf(Record(2, 1, mask, colour));
    TkoCursor cursor;
    ASSERT_EQ(cursor.Load(stream), TkoCursor::kLoaded) << cursor.Damage();

    // Hot spot at (0, 0): the image starts at (-2, -1) and is clipped left and top.
    TkoPicture picture = Patterned(6, 6, 32);
    TkoPicture original = Patterned(6, 6, 32);
    cursor.Draw(picture.View(), 0, 0);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 6; ++x) {
        const int cx = x + 2, cy = y + 1;
        uint32_t want = PixelColour(original.View(), x, y);
        if (cx < 5 && cy < 4) want = (cx >= 3 ? want : 0) ^ colourOf(cx, cy);
        EXPECT_EQ(PixelColour(picture.View(), x, y), want) << int(bpp) << " at " << x << "," << y;
      }
    // Entirely outside, and partly past the right and bottom edges: no stray writes.
    cursor.Draw(picture.View(), -100, 3);
    cursor.Draw(picture.View(), 5, 5);
    cursor.Draw(picture.View(), INT32_MAX, INT32_MIN);
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
      {"negative height", mask([](Part& p) { p.height = -32; }), true},
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
    EXPECT_FALSE(cursor.RecordConsumed()) << cut;
    EXPECT_TRUE(cursor.IsEmpty()) << cut;
  }
}

TEST(Cursor, ReloadingReplacesTheImageAndRecordsFollowEachOther) {
  Bytes bytes = Record(1, 1, Mask(8, 16, [](int, int) { return true; }), kNoPart);
  const Bytes second = Record(4, 5, Mask(4, 4, [](int, int) { return true; }),
                              Colour(4, 4, 24, [](int, int) { return 0x00FF00u; }));
  bytes.insert(bytes.end(), second.begin(), second.end());
  TkoMemoryStream stream = StreamOf(bytes);
  TkoCursor cursor;
  ASSERT_EQ(cursor.Load(stream), TkoCursor::kLoaded);
  ASSERT_EQ(cursor.Load(stream), TkoCursor::kLoaded);
  EXPECT_EQ(stream.GetPosition(), int32_t(bytes.size()));
  // Only the second image is drawn: 4 x 4 of green, its hot spot at (4, 5).
  TkoPicture picture(16, 16, 24);
  cursor.Draw(picture.View(), 8, 8);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      ASSERT_EQ(PixelColour(picture.View(), x, y), x >= 4 && x < 8 && y >= 3 && y < 7 ? 0x00FF00u : 0u)
          << x << "," << y;
}
