// The seek index on its own: pictures packed and unpacked, record offsets learnt in
// order, pictures placed by cost, and the memory budget.
#include "playback/seek_index.h"

#include <gtest/gtest.h>

#include <random>

#include "film/segment_list.h"
#include "playback/picture_deflate.h"

namespace {
// A picture in memory with padding behind every row; screen-like (flat with a few
// marks) or noise drawn from seed (only the bits of mask).
struct TestPicture {
  TestPicture(int32_t width, int32_t height, int32_t depth, bool noise = false, uint32_t seed = 0,
              uint32_t mask = 0xFFFFFF)
      : Stride(width * BytesPerPixelOf(depth) + 5), Bytes(size_t(Stride) * size_t(height), 0xA5),
        View{Bytes.data(), width, height, Stride, depth}, Mask(mask) {
    if (seed != 0) Fill(noise, seed);
  }
  TestPicture(const TestPicture&) = delete;
  void Fill(bool noise, uint32_t seed) {
    std::mt19937 random(seed);
    for (int32_t y = 0; y < View.Height; ++y)
      for (int32_t x = 0; x < View.Width; ++x) {
        const uint32_t colour = random() & Mask;
        SetPixelColour(View, x, y, noise || (x % 17 == 0 && y % 3 == 0) ? colour : 0xD4D0C8);
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
  uint32_t Mask;
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
    uint32_t Mask;  // of the noise
  };
  // Deflated only when it shrinks to 4/5: noise of 6 bits a byte does (3/4), of 7 not.
  for (const Case c : {Case{32, false, true, 0}, Case{24, false, true, 0}, Case{32, true, false, 0xFFFFFF},
                       Case{24, true, false, 0x7F7F7F}, Case{24, true, true, 0x3F3F3F}}) {
    SCOPED_TRACE(testing::Message() << c.Depth << (c.Noise ? " noise " : " screen ") << c.Mask);
    const TestPicture picture(97, 61, c.Depth, c.Noise, 7, c.Mask);
    std::vector<uint8_t> scratch;
    TPackedPicture packed;
    ASSERT_TRUE(PackPicture(picture.View, scratch, packed));
    EXPECT_EQ(packed.Deflated, c.Deflated);
    const size_t whole = size_t(97 * 61 * BytesPerPixelOf(c.Depth));
    EXPECT_TRUE(c.Deflated ? packed.Bytes.size() * 5 <= whole * 4 : packed.Bytes.size() == whole);
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
  // Flat middle rows (the 10 rows of 6 KiB tried first) in 7-bit noise: the whole does
  // not shrink enough.
  TestPicture banded(2048, 300, 24, true, 9, 0x7F7F7F);
  for (int32_t y = 145; y < 155; ++y)
    for (int32_t x = 0; x < 2048; ++x) SetPixelColour(banded.View, x, y, 0xD4D0C8);
  ASSERT_TRUE(PackPicture(banded.View, scratch, packed));
  EXPECT_FALSE(packed.Deflated);
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

TEST(SeekIndex, ABudgetOfExactlyNPicturesKeepsNAndTheOneBetweenTheClosestNeighboursGoesFirst) {
  const TestPicture noise(64, 48, 32, true, 5);  // kept as it is: Size(noise) bytes
  const int64_t u = TkoSeekIndex::kFirstSpacingInPictures * int64_t(Size(noise)) / 8;  // the spacing is 8 u
  TkoSeekIndex index(3 * Size(noise));
  TSegmentInfo segment;
  OfferAll(index, segment, {16 * u, 10 * u, 10 * u}, noise.View);  // at 16, 26 and 36 u
  EXPECT_EQ(index.PictureFrames(segment), (std::vector<int32_t>{0, 1, 2}));
  // A fourth at 47 u: frame 1 goes (its neighbours lie 20 u apart, frame 0's 26 u and
  // frame 2's 21 u), the spacing widens to 15 u and frame 3 lies only 11 u after frame 2.
  index.Offer(segment, 3, 47 * u, noise.View);
  EXPECT_EQ(index.PictureFrames(segment), (std::vector<int32_t>{0, 2}));
  EXPECT_EQ(index.Spacing(segment), 15 * u);

  TkoSeekIndex one(Size(noise));  // a picture exactly the budget fits
  OfferAll(one, segment, {8 * u}, noise.View);
  EXPECT_EQ(one.PictureCount(), 1);

  // A picture of another height or depth (the display changed) replaces the kept ones.
  const TestPicture higher(64, 49, 32, true, 5), deeper(64, 48, 24, true, 5);
  for (const TestPicture* other : {&higher, &deeper}) {
    TkoSeekIndex changed;
    OfferAll(changed, segment, {8 * u, 8 * u}, noise.View);
    changed.Offer(segment, 2, 24 * u, other->View);
    EXPECT_EQ(changed.PictureFrames(segment), std::vector<int32_t>{2});
  }
}
