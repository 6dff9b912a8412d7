#include "playback/cursor_overlay.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "playback/cursor_records.h"
#include "playback/frame_unpack.h"
#include "writer/data_file_writer.h"

using namespace cursor_records;

namespace {
std::unique_ptr<TkoCursor> Loaded(const Bytes& record) {
  auto cursor = std::make_unique<TkoCursor>();
  TkoMemoryStream stream = StreamOf(record);
  EXPECT_EQ(cursor->Load(stream), TkoCursor::kLoaded) << cursor->Damage();
  return cursor;
}

// Monochrome w x h cursor that blackens its left half and inverts its top row.
std::unique_ptr<TkoCursor> Monochrome(int32_t w, int32_t h, int32_t hotX, int32_t hotY) {
  return Loaded(Record(hotX, hotY, Mask(w, 2 * h, [=](int x, int y) { return y < h ? x >= w / 2 : y == h; }), kNoPart));
}

// Solid colour cursor: AND clears everything, XOR paints colour.
std::unique_ptr<TkoCursor> Solid(int32_t w, int32_t h, int32_t hotX, int32_t hotY, uint32_t colour) {
  return Loaded(Record(hotX, hotY, Mask(w, h, [](int, int) { return false; }),
                       Colour(w, h, 32, [=](int, int) { return colour; })));
}

TkoMemoryStream Track(const std::vector<TkoCursorSample>& samples) {
  Bytes bytes;
  for (const TkoCursorSample& s : samples)
    for (uint16_t v : {s.Index, s.X, s.Y}) bytes.push_back(uint8_t(v)), bytes.push_back(uint8_t(v >> 8));
  return StreamOf(bytes);
}

// One tick with one sample per frame, as the clock runs it.
void Tick(TkoCursorOverlay& overlay, const TkoPictureView& picture, TkoStream& track,
          const std::vector<const TkoCursor*>& cursors, const Bytes* frame) {
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

TEST(CursorOverlay, SampleMinusHotSpotGivesThePositionAndRestoreGivesThePictureBack) {
  const auto cursor = Monochrome(32, 32, 10, 10);
  TkoCursorOverlay overlay;
  overlay.GrowFor(*cursor);
  for (int32_t depth : {24, 32}) {
    TkoPicture picture = Patterned(500, 300, depth);
    const Bytes original = picture.Memory();
    TkoMemoryStream track = Track({{0, 420, 234}, {0, 0, 0}, {0, 499, 299}});
    overlay.Reset();
    overlay.Restore(picture.View());  // off the picture: nothing
    EXPECT_EQ(picture.Memory(), original);

    Tick(overlay, picture.View(), track, {cursor.get()}, nullptr);
    EXPECT_EQ(overlay.NewPosition(), (TkoPoint{410, 224}));
    EXPECT_NE(picture.Memory(), original);
    // x = 0 with hot-spot x 10: the image's left edge at -10, clipped.
    Tick(overlay, picture.View(), track, {cursor.get()}, nullptr);
    EXPECT_EQ(overlay.NewPosition(), (TkoPoint{-10, -10}));
    // Picture column 5 is image column 15 (cleared by the AND half), column 6 image
    // column 16 (kept), column 22 is past the image; image row 0, the inverted one, lies
    // above the picture.
    EXPECT_EQ(PixelColour(picture.View(), 5, 0), 0u);
    EXPECT_EQ(PixelColour(picture.View(), 6, 0), PixelColour(Patterned(500, 300, depth).View(), 6, 0));
    EXPECT_EQ(PixelColour(picture.View(), 22, 0), PixelColour(Patterned(500, 300, depth).View(), 22, 0));
    // At the bottom-right corner most of the image lies off the picture.
    Tick(overlay, picture.View(), track, {cursor.get()}, nullptr);
    EXPECT_EQ(overlay.NewPosition(), (TkoPoint{489, 289}));
    overlay.Restore(picture.View());
    EXPECT_EQ(picture.Memory(), original) << depth;
  }
}

TEST(CursorOverlay, LargestSizeOnlyGrowsAndCoversColourImagesWiderThanTheirMask) {
  TkoCursorOverlay overlay;
  overlay.GrowFor(*Solid(48, 40, 0, 0, 0x123456));
  overlay.GrowFor(*Monochrome(32, 32, 0, 0));  // 32 x 64 mask
  EXPECT_FALSE(overlay.GrowTo(10, 10));
  EXPECT_EQ(overlay.LargestWidth(), 48);
  EXPECT_EQ(overlay.LargestHeight(), 64);

  const auto wide = Loaded(Record(0, 0, Mask(8, 8, [](int, int) { return true; }),
                                  Colour(60, 8, 24, [](int, int) { return 0xFFFFFFu; })));
  EXPECT_TRUE(overlay.GrowFor(*wide));
  EXPECT_EQ(overlay.LargestWidth(), 60);
  TkoPicture picture = Patterned(100, 100, 32);
  const Bytes original = picture.Memory();
  TkoMemoryStream track = Track({{0, 5, 5}});
  overlay.Reset();
  Tick(overlay, picture.View(), track, {wide.get()}, nullptr);
  overlay.Restore(picture.View());
  EXPECT_EQ(picture.Memory(), original);
}

TEST(CursorOverlay, SamplesNamingNoCursorDrawNothingAndLeaveTheNewPicture) {
  const auto cursor = Solid(8, 8, 0, 0, 0xFF00FF);
  TkoCursorOverlay overlay;
  overlay.GrowFor(*cursor);
  overlay.Reset();
  TkoPicture picture(20, 20, 32);
  TkoMemoryStream track = Track({{0, 4, 4}, {7, 9, 9}});
  const std::vector<const TkoCursor*> cursors = {cursor.get()};

  Tick(overlay, picture.View(), track, cursors, nullptr);
  EXPECT_EQ(PixelColour(picture.View(), 5, 5), 0xFF00FFu);
  // Index 7 names no cursor: the pointer is taken out, a new frame is laid on, and no
  // pointer is drawn; the new picture must stay as the frame made it.
  const Bytes white = filmwriter::FrameRecord({{0xFFFFFF, 400}});
  Tick(overlay, picture.View(), track, cursors, &white);
  EXPECT_EQ(overlay.Current(), nullptr);
  EXPECT_EQ(overlay.NewPosition(), (TkoPoint{4, 4})) << "the position stays";
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(PixelColour(picture.View(), x, y), 0xFFFFFFu) << x << "," << y;
  // The end of the track keeps the last sample.
  EXPECT_FALSE(overlay.ReadSample(track));
  EXPECT_EQ(overlay.LastSample().Index, 7);
  EXPECT_EQ(overlay.LastSample().X, 9);
}

TEST(CursorOverlay, PointerNeverLeaksIntoTheFrames) {
  // Random frames and a wandering pointer (two cursors, one never loaded, and an index
  // naming none): after taking the pointer out the picture always equals the frames laid
  // on without any pointer.
  std::mt19937 rng(99);
  const auto a = Monochrome(16, 16, 3, 2);
  const auto b = Solid(12, 20, 11, 19, 0x00FF00);
  TkoCursor failed;
  const std::vector<const TkoCursor*> cursors = {a.get(), b.get(), &failed};
  TkoCursorOverlay overlay;
  for (const TkoCursor* c : cursors) overlay.GrowFor(*c);
  overlay.Reset();
  TkoPicture withPointer(37, 23, 24), plain(37, 23, 24);
  std::vector<TkoCursorSample> samples;
  for (int i = 0; i < 60; ++i) samples.push_back({uint16_t(rng() % 4), uint16_t(rng() % 45), uint16_t(rng() % 30)});
  TkoMemoryStream track = Track(samples);
  for (int i = 0; i < 60; ++i) {
    std::vector<filmwriter::Run> runs;
    for (uint32_t left = 37 * 23, n; left > 0; left -= n) {
      n = std::min<uint32_t>(left, uint32_t(1 + rng() % 90));
      runs.push_back({uint32_t(rng() % 2 ? 0 : rng() & 0xFFFFFF), uint16_t(n)});
    }
    const Bytes frame = filmwriter::FrameRecord(runs);
    Tick(overlay, withPointer.View(), track, cursors, &frame);
    ApplyFrameRecord(frame, plain.View());
    TkoPicture check = withPointer;
    TkoCursorOverlay copy = overlay;
    copy.Restore(check.View());
    ASSERT_EQ(check.Memory(), plain.Memory()) << "frame " << i;
  }
}
