// The frame source on segments loaded from films the film writer made: when the
// picture is made anew, what it draws into, and damaged records.
#include <gtest/gtest.h>

#include "film/film_load_fixture.h"
#include "film/ko_error.h"
#include "playback/frame_source.h"

using namespace filmwriter;

namespace {
class RecordingHost : public TFrameSourceHost {
public:
  int32_t DisplayDepth() const override { return Display; }
  void UnsupportedDepth(int32_t depth) override { Unsupported.push_back(depth); }
  void DamagedRecord(const std::string& text) override { Damage.push_back(text); }

  int32_t Display = 32;
  std::vector<int32_t> Unsupported;
  std::vector<std::string> Damage;
};

// Memory the caller owns, with rows wider than needed; Refuse hands out nothing, Lie
// hands out a picture one row short.
class CallerMemory : public TPictureMemory {
public:
  TkoPictureView Make(int32_t width, int32_t height, int32_t depth) override {
    ++Made;
    Stride = width * BytesPerPixelOf(depth) + 12;
    Bytes.assign(size_t(Stride) * size_t(height), 0xEE);  // not black: Clear must do that
    if (Refuse) return {};
    return {Bytes.data(), width, Lie ? height - 1 : height, Stride, 32};
  }
  void Release() override { ++Released; }

  std::vector<uint8_t> Bytes;
  int32_t Stride = 0;
  int Made = 0, Released = 0;
  bool Refuse = false, Lie = false;
};

SegmentSpec Spec(int width, int height, uint8_t depth, std::vector<Picture> pictures = {}) {
  SegmentSpec spec;
  spec.bitsPerPixel = depth;
  spec.data.pictures =
      pictures.empty() ? std::vector<Picture>{Picture::Filled(width, height, 0x336699)} : std::move(pictures);
  spec.data.cursorRecords = {EmptyCursorRecord()};
  return spec;
}

Picture Shown(const TkoPictureView& view) {
  Picture picture = Picture::Filled(view.Width, view.Height, 0);
  for (int y = 0; y < view.Height; ++y)
    for (int x = 0; x < view.Width; ++x) picture.At(x, y) = PixelColour(view, x, y);
  return picture;
}

class FrameSource : public FilmLoad {
protected:
  // Starts the segment the way the engine does, up to and including its first record.
  void Start(TkoFrameSource& frames, int32_t index) {
    TSegmentInfo& segment = *list.Get(index);
    ASSERT_TRUE(frames.PrepareDisplay(segment));
    frames.ClearPictures();
    frames.ResetFrameBuffer(segment);
    frames.ResetCursor();
    segment.FrameStream->SetPosition(segment.FirstFrameOffset);
  }
  // One frame: read, unpack, lay on the picture.
  void Step(TkoFrameSource& frames, int32_t index) {
    TSegmentInfo& segment = *list.Get(index);
    frames.LoadFrame(segment);
    frames.UnpackFrame(segment);
    frames.ApplyDifference(segment);
  }
};
}  // namespace

TEST_F(FrameSource, PictureIsMadeAnewOnlyWhenSizeOrDepthOrDisplayChanges) {
  ASSERT_TRUE(LoadFromStart(BuildFilm({Spec(6, 4, 32), Spec(6, 4, 32), Spec(6, 4, 24), Spec(6, 4, 24),
                                       Spec(7, 4, 24), Spec(7, 4, 16), Spec(7, 4, 32)})));
  RecordingHost host;
  CallerMemory memory;
  TkoFrameSource frames(&host, &memory);
  const auto start = [&](int32_t index) {
    Start(frames, index);
    return memory.Made;
  };

  EXPECT_EQ(start(0), 1);
  Step(frames, 0);
  EXPECT_EQ(PixelColour(frames.Picture(), 5, 3), 0x336699u);
  EXPECT_EQ(start(1), 1) << "same size and depth as the display: kept";
  EXPECT_EQ(PixelColour(frames.Picture(), 5, 3), 0u) << "kept, but cleared";
  EXPECT_EQ(memory.Bytes[size_t(memory.Stride) - 1], 0xEE) << "only the picture's own bytes are cleared";
  EXPECT_EQ(start(2), 2) << "depth changed";
  EXPECT_EQ(start(3), 3) << "a 24-bit segment on a 32-bit display is made anew every time";
  host.Display = 24;
  EXPECT_EQ(start(3), 4) << "the display's depth changed";
  EXPECT_EQ(start(3), 4) << "segment and display agree again";
  EXPECT_EQ(start(4), 5) << "width changed";
  EXPECT_TRUE(host.Unsupported.empty());

  start(5);
  EXPECT_EQ(host.Unsupported, std::vector<int32_t>{16});
  EXPECT_TRUE(frames.Picture().IsEmpty()) << "nothing of a 16-bit segment is drawn";
  EXPECT_NO_THROW(Step(frames, 5)) << "its records are still read; unpacking returns at once";
  EXPECT_EQ(start(6), 6);
  EXPECT_FALSE(frames.Picture().IsEmpty());
  EXPECT_EQ(memory.Released, 7);
}

TEST_F(FrameSource, DrawsIntoTheCallersMemoryAndReportsMemoryItCannotUse) {
  Picture second = Picture::Filled(5, 3, 0x0000FF);
  second.At(4, 2) = 0xABCDEF;
  ASSERT_TRUE(LoadFromStart(BuildFilm({Spec(5, 3, 24, {Picture::Filled(5, 3, 0x0000FF), second})})));
  CallerMemory memory;
  TkoFrameSource frames(nullptr, &memory);
  Start(frames, 0);
  Step(frames, 0);
  Step(frames, 0);
  ASSERT_EQ(frames.Picture().Pixels, memory.Bytes.data());
  const uint8_t* last = memory.Bytes.data() + 2 * memory.Stride + 4 * 4;
  EXPECT_EQ((std::vector<uint8_t>{last[0], last[1], last[2]}), (std::vector<uint8_t>{0xEF, 0xCD, 0xAB}));
  EXPECT_EQ(Shown(frames.Picture()).pixels, second.pixels);

  for (bool lie : {false, true}) {
    CallerMemory bad;
    bad.Refuse = !lie;
    bad.Lie = lie;
    TkoFrameSource refused(nullptr, &bad);
    Start(refused, 0);
    EXPECT_TRUE(refused.Picture().IsEmpty());
    TSegmentInfo& segment = *list.Get(0);
    refused.LoadFrame(segment);
    try {
      refused.UnpackFrame(segment);
      ADD_FAILURE() << "no picture must be reported";
    } catch (const EkoError& e) {
      EXPECT_STREQ(e.what(), "UnpackFrame: PXorFrame Is Nil");
    }
  }
}

TEST_F(FrameSource, MissingFrameBufferIsReportedWithThePlayersTexts) {
  ASSERT_TRUE(LoadFromStart(BuildFilm({Spec(4, 4, 32)})));
  TSegmentInfo& segment = *list.Get(0);
  TkoFrameSource frames;
  ASSERT_TRUE(frames.PrepareDisplay(segment));
  const auto message = [](auto&& action) {
    try {
      action();
    } catch (const EkoError& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  EXPECT_EQ(message([&] { frames.UnpackFrame(segment); }), "UnpackFrame: Frame Is Nil");
  EXPECT_EQ(message([&] { frames.LoadFrame(segment); }), "LoadFrame: Frame = nil");
  // A frame too large for the record size field gets no buffer, and no picture.
  segment.Width = 50000;
  segment.Height = 50000;
  ASSERT_TRUE(frames.PrepareDisplay(segment));
  frames.ResetFrameBuffer(segment);
  EXPECT_EQ(frames.FrameBufferBytes(), 0u);
  EXPECT_TRUE(frames.Picture().IsEmpty());
  EXPECT_EQ(message([&] { frames.LoadFrame(segment); }), "LoadFrame: Frame = nil");
}

TEST_F(FrameSource, DamagedRecordsAreReportedOnceAndTheIntactPartIsLaid) {
  // 6 x 2 frames: a good first picture, then a record covering 3 pixels only, one
  // covering 20, a good one, one whose size disagrees with its run count (one run of
  // 0x0101 pixels of 0x010101 inside its 18 bytes), one too large for the frame
  // buffer of 8 + 5 x 12 = 68 bytes, and a good one.
  const Bytes tooLarge = RawFrameRecord(73, 13, Bytes(65, 0x5A));
  const Bytes lastChange = FrameRecord({{0x000000, 6}, {0x050000, 6}});
  SegmentSpec spec = Spec(6, 2, 32, {Picture::Filled(6, 2, 0x101010)});
  spec.data.frameRecords = {FrameRecord({{0x000001, 3}}), FrameRecord({{0x000100, 12}, {0x010000, 8}}),
                            FrameRecord({{0x000000, 11}, {0x202020, 1}}),
                            RawFrameRecord(8 + 5 * 2, 1, Bytes(10, 1)), tooLarge, lastChange};
  // The second segment's first damage is the record too large.
  SegmentSpec skipFirst = spec;
  skipFirst.data.frameRecords = {tooLarge, lastChange};
  ASSERT_TRUE(LoadFromStart(BuildFilm({spec, skipFirst})));
  RecordingHost host;
  TkoFrameSource frames(&host);
  Start(frames, 0);
  Step(frames, 0);
  Step(frames, 0);
  EXPECT_EQ(host.Damage,
            std::vector<std::string>{"Damaged frame record: its runs cover fewer pixels than the frame."});
  Picture expected = Picture::Filled(6, 2, 0x101011);
  for (int x = 3; x < 6; ++x) expected.At(x, 0) = 0x101010;
  for (int x = 0; x < 6; ++x) expected.At(x, 1) = 0x101010;
  EXPECT_EQ(Shown(frames.Picture()).pixels, expected.pixels) << "only the covered pixels change";
  Step(frames, 0);
  EXPECT_EQ(host.Damage.size(), 1u) << "reported once per segment";
  Step(frames, 0);
  for (auto& p : expected.pixels) p ^= 0x000100;
  expected.At(5, 1) ^= 0x202020;
  EXPECT_EQ(Shown(frames.Picture()).pixels, expected.pixels) << "the frame's pixels, nothing past them";
  Step(frames, 0);
  for (auto& p : expected.pixels) p ^= 0x010101;
  EXPECT_EQ(Shown(frames.Picture()).pixels, expected.pixels) << "laid as far as its runs go";
  Step(frames, 0);
  EXPECT_EQ(Shown(frames.Picture()).pixels, expected.pixels) << "a record skipped changes nothing";
  Step(frames, 0);
  for (int x = 0; x < 6; ++x) expected.At(x, 1) ^= 0x050000;
  EXPECT_EQ(Shown(frames.Picture()).pixels, expected.pixels) << "the record after it is laid as it is";
  EXPECT_EQ(host.Damage.size(), 1u);

  Start(frames, 1);
  Step(frames, 1);
  Step(frames, 1);
  ASSERT_EQ(host.Damage.size(), 2u) << "the next segment reports its own";
  EXPECT_EQ(host.Damage[1], "Damaged frame record: its 73 bytes do not fit the frame buffer of 68; it was skipped.");
  Step(frames, 1);
  expected = Picture::Filled(6, 2, 0x101010);
  for (int x = 0; x < 6; ++x) expected.At(x, 1) ^= 0x050000;
  EXPECT_EQ(Shown(frames.Picture()).pixels, expected.pixels);
}

TEST_F(FrameSource, RecordsCutByTheEndOfTheDataFileStillStopWithTheirText) {
  // Behind the frame records lie only the cursor track (6 bytes a frame) and the
  // extra block: neither record below fits in what is left of the file.
  SegmentSpec fits = Spec(5, 3, 32, {Picture::Filled(5, 3, 0x010203)});
  fits.data.frameRecords = {RawFrameRecord(83, 15, Bytes(10, 0))};
  SegmentSpec tooLarge = fits;
  tooLarge.data.frameRecords = {RawFrameRecord(100000, 19998, Bytes(10, 0))};
  SegmentSpec noSize = fits;
  noSize.data.frameRecords = {RawFrameRecord(0, 0, {})};
  ASSERT_TRUE(LoadFromStart(BuildFilm({fits, tooLarge, noSize})));
  RecordingHost host;
  TkoFrameSource frames(&host);
  const std::vector<std::string> texts = {"LoadFrame: BytesRead <> size", "LoadFrame: BytesRead <> size",
                                          "LoadFrame: Size = 0"};
  for (int32_t segment = 0; segment < 3; ++segment) {
    Start(frames, segment);
    Step(frames, segment);
    try {
      frames.LoadFrame(*list.Get(segment));
      ADD_FAILURE() << "segment " << segment << " must stop";
    } catch (const EkoError& e) {
      EXPECT_EQ(e.what(), texts[size_t(segment)]);
    }
  }
  EXPECT_TRUE(host.Damage.empty()) << "a record that cannot be read is not damage to go on from";
}
