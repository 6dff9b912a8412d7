// The seek index on its own: pictures packed and unpacked, record offsets learnt in
// order, pictures placed by cost, and the memory budget.
#include "playback/seek_index.h"

#include <gtest/gtest.h>

#include "film/segment_list.h"
#include "playback/picture_deflate.h"

namespace {
// A picture in memory with padding behind every row; screen-like (flat with a few
// marks) or noise drawn from seed.
struct TestPicture {
  TestPicture(int32_t width, int32_t height, int32_t depth, bool noise = false, uint32_t seed = 0)
      : Stride(width * BytesPerPixelOf(depth) + 5), Bytes(size_t(Stride) * size_t(height), 0xA5),
        View{Bytes.data(), width, height, Stride, depth} {
    if (seed != 0) Fill(noise, seed);
  }
  TestPicture(const TestPicture&) = delete;
  void Fill(bool noise, uint32_t seed) {
    for (int32_t y = 0; y < View.Height; ++y)
      for (int32_t x = 0; x < View.Width; ++x) {
        seed = seed * 1103515245u + 12345u;
        const uint32_t colour = noise ? seed >> 8 : (x % 17 == 0 && y % 3 == 0 ? seed >> 8 : 0xD4D0C8);
        SetPixelColour(View, x, y, colour);
      }
  }
  bool SamePixels(const TkoPictureView& other) const {
    for (int32_t y = 0; y < View.Height; ++y)
      for (int32_t x = 0; x < View.Width; ++x)
        if (PixelColour(View, x, y) != PixelColour(other, x, y)) return false;
    return true;
  }
  int32_t Stride;
  std::vector<uint8_t> Bytes;
  TkoPictureView View;
};

size_t Size(const TestPicture& picture) { return size_t(picture.View.Width) * picture.View.Height * 4; }

// Offers frames 0 .. costs.size() - 1 of segment, record k costing costs[k].
void OfferAll(TkoSeekIndex& index, const TSegmentInfo& segment, const std::vector<int64_t>& costs,
              const TkoPictureView& picture) {
  int64_t total = 0;
  for (size_t k = 0; k < costs.size(); ++k) index.Offer(segment, int32_t(k), total += costs[k], picture);
}
}  // namespace

TEST(SeekIndex, PicturesComeBackExactlyWhetherDeflatedOrKeptAsTheyAre) {
  struct Case {
    int32_t Depth;
    bool Noise;
    bool Deflated;
  };
  for (const Case c : {Case{32, false, true}, Case{24, false, true}, Case{32, true, false}, Case{24, true, false}}) {
    SCOPED_TRACE(testing::Message() << c.Depth << (c.Noise ? " noise" : " screen"));
    const TestPicture picture(97, 61, c.Depth, c.Noise, 7);
    std::vector<uint8_t> scratch;
    TPackedPicture packed;
    ASSERT_TRUE(PackPicture(picture.View, scratch, packed));
    EXPECT_EQ(packed.Deflated, c.Deflated);
    const size_t whole = size_t(97 * 61 * BytesPerPixelOf(c.Depth));
    EXPECT_TRUE(c.Deflated ? packed.Bytes.size() * 5 < whole : packed.Bytes.size() == whole);
    TestPicture back(97, 61, c.Depth);
    ASSERT_TRUE(UnpackPicture(packed.Bytes, packed.Deflated, back.View));
    EXPECT_TRUE(back.SamePixels(picture.View));
    EXPECT_EQ(back.Bytes[size_t(back.Stride) - 1], 0xA5) << "row padding is not written";

    // Damaged bytes are refused, never laid past the picture.
    std::vector<uint8_t> cut(packed.Bytes.begin(), packed.Bytes.end() - 9);
    EXPECT_FALSE(UnpackPicture(cut, packed.Deflated, back.View));
    std::vector<uint8_t> longer = packed.Bytes;
    longer.push_back(0);
    EXPECT_FALSE(UnpackPicture(longer, packed.Deflated, back.View));
    TestPicture wider(98, 61, c.Depth);
    EXPECT_FALSE(UnpackPicture(packed.Bytes, packed.Deflated, wider.View));
  }
  std::vector<uint8_t> scratch;
  TPackedPicture packed;
  EXPECT_FALSE(PackPicture(TkoPictureView{}, scratch, packed));
}

TEST(SeekIndex, RecordOffsetsAreLearntInOrderFromTheFirstRecord) {
  TSegmentInfo segment;
  segment.FirstFrameOffset = 100;
  TkoSeekIndex index;
  EXPECT_EQ(index.RecordOffset(segment, 0), 100) << "the first record is always known";
  EXPECT_EQ(index.RecordOffset(segment, 1), -1);
  EXPECT_EQ(index.NoteRecord(segment, 150, 180), -1) << "not read in order";
  EXPECT_EQ(index.NoteRecord(segment, 100, 150), 0);
  EXPECT_EQ(index.NoteRecord(segment, 150, 180), 1);
  EXPECT_EQ(index.NoteRecord(segment, 180, 300), 2);
  EXPECT_EQ(index.NoteRecord(segment, 150, 180), 1) << "read again";
  EXPECT_EQ(index.NoteRecord(segment, 400, 500), -1) << "a gap";
  EXPECT_EQ(index.KnownRecords(segment), 3);
  const std::vector<int64_t> offsets = {index.RecordOffset(segment, 0), index.RecordOffset(segment, 1),
                                        index.RecordOffset(segment, 2), index.RecordOffset(segment, 3),
                                        index.RecordOffset(segment, 4), index.RecordOffset(segment, -1)};
  EXPECT_EQ(offsets, (std::vector<int64_t>{100, 150, 180, 300, -1, -1}));

  TSegmentInfo other;  // told apart by its serial, whatever its offsets
  other.FirstFrameOffset = 100;
  EXPECT_EQ(index.KnownRecords(other), 0);
  index.Clear();
  EXPECT_EQ(index.RecordOffset(segment, 1), -1);
}

TEST(SeekIndex, PicturesArePlacedByCostSoAQuietStretchGetsNone) {
  const TestPicture picture(40, 30, 32, false, 1);
  TkoSeekIndex index;
  TSegmentInfo segment;
  const int64_t spacing = TkoSeekIndex::kFirstSpacingInPictures * int64_t(Size(picture));
  // 400 quiet records (all of them together less than one spacing), then 40 busy ones
  // of a quarter spacing each, then quiet again.
  std::vector<int64_t> costs(400, spacing / 500);
  costs.insert(costs.end(), 40, spacing / 4);
  costs.insert(costs.end(), 400, spacing / 500);
  OfferAll(index, segment, costs, picture.View);
  std::vector<int32_t> busy, quiet;
  for (const int32_t frame : index.PictureFrames(segment)) (frame >= 400 && frame < 440 ? busy : quiet).push_back(frame);
  std::vector<int32_t> expected;
  for (int32_t k = 400; k < 440; k += 4) expected.push_back(k);
  EXPECT_EQ(busy, expected);
  // The 800 quiet records together cost 1.6 spacings: at most one picture among them,
  // where the cost since the last busy picture reaches the spacing.
  ASSERT_LE(quiet.size(), 1u);
  for (const int32_t frame : quiet) EXPECT_GT(frame, 500);
  EXPECT_EQ(index.Spacing(segment), spacing);
  EXPECT_EQ(index.LatestAtOrBefore(segment, 420, picture.View).Frame, 420);
  EXPECT_EQ(index.LatestAtOrBefore(segment, 423, picture.View).Frame, 420);
  EXPECT_EQ(index.LatestAtOrBefore(segment, 399, picture.View).Frame, -1) << "before the first: black";
  TestPicture other(41, 30, 32);
  EXPECT_EQ(index.LatestAtOrBefore(segment, 420, other.View).Frame, -1) << "not of the picture's size";

  // Offered again (a second pass), nothing is added.
  const std::vector<int32_t> placed = index.PictureFrames(segment);
  OfferAll(index, segment, costs, picture.View);
  EXPECT_EQ(index.PictureFrames(segment), placed);
}

TEST(SeekIndex, ThePicturesOfTheWholeFilmStayWithinTheBudget) {
  const TestPicture noise(64, 48, 32, true, 3);
  const TestPicture screen(64, 48, 32, false, 3);
  const int64_t spacing = TkoSeekIndex::kFirstSpacingInPictures * int64_t(Size(noise));
  TkoSeekIndex index(10 * Size(noise));
  TSegmentInfo light, heavy;
  OfferAll(index, light, std::vector<int64_t>(20, spacing), screen.View);
  const int32_t lightPictures = index.PictureCount(light);
  EXPECT_EQ(lightPictures, 20);

  // 200 noise pictures wanted: the heavy segment lets go of its least needed ones and
  // spreads the rest over the whole segment; the light one keeps all of its own.
  OfferAll(index, heavy, std::vector<int64_t>(200, spacing), noise.View);
  EXPECT_LE(index.PictureBytes(), index.Budget());
  EXPECT_LE(index.PeakPictureBytes(), index.Budget());
  EXPECT_EQ(index.PictureCount(light), lightPictures);
  const std::vector<int32_t> frames = index.PictureFrames(heavy);
  ASSERT_GE(frames.size(), 7u);
  int32_t widest = frames.front() + 1;
  for (size_t i = 1; i < frames.size(); ++i) widest = std::max(widest, frames[i] - frames[i - 1]);
  EXPECT_LE(widest, 2 * 200 / int32_t(frames.size()) + 2) << "no long stretch without a picture";
  EXPECT_GE(frames.back(), 170) << "the segment's end is covered too";

  // Restored pictures are the pictures offered.
  TestPicture back(64, 48, 32);
  ASSERT_TRUE(index.Restore(heavy, frames[1], back.View));
  EXPECT_TRUE(back.SamePixels(noise.View));
  EXPECT_FALSE(index.Restore(heavy, frames[1] + 1, back.View)) << "no picture kept for that frame";

  // A smaller budget lets pictures go at once; one that cannot fit at all is not kept.
  index.SetBudget(3 * Size(noise));
  EXPECT_LE(index.PictureBytes(), index.Budget());
  index.SetBudget(Size(noise) / 2);
  TSegmentInfo third;
  OfferAll(index, third, {spacing, spacing}, noise.View);
  EXPECT_EQ(index.PictureCount(third), 0);
}
