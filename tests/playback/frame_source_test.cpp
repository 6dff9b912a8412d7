// The frame source on segments loaded from films the film writer made: when the
// picture is made anew, what it draws into, and damaged records, also as the engine
// plays them.
#include "playback/frame_source.h"

#include <gtest/gtest.h>

#include "film/film_load_fixture.h"
#include "playback/picture_log.h"
#include "support/clock_fakes.h"
#include "support/error_text.h"

using namespace filmwriter;

namespace {
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

// The real frames (in caller memory) under an engine with the rig's timer, sound and
// shell.
class FrameSource : public FilmLoad {
protected:
  FrameSource() {
    frames.SetCursorVisible(false);
    rig.Wire(frames, presenter);
    rig.Engine->SetSegmentList(&list);
    presenter.Engine = rig.Engine.get();
  }
  // Starts segment index; returns the count of pictures made so far.
  int Start(int32_t index) {
    EXPECT_TRUE(rig.Engine->StartSegment(index));
    return memory.Made;
  }

  // Declared before the rig: its engine refers to them and goes first.
  RecordingHost host;
  CallerMemory memory;
  TkoFrameSource frames{&host, &memory};
  PictureLog presenter{frames};
  ClockRig rig;
};
}  // namespace

TEST_F(FrameSource, PictureIsMadeAnewOnlyWhenSizeOrDepthOrDisplayChanges) {
  ASSERT_TRUE(LoadFromStart(BuildFilm({Spec(6, 4, 32), Spec(6, 4, 32), Spec(6, 4, 24), Spec(6, 4, 24),
                                       Spec(7, 4, 24), Spec(7, 4, 16), Spec(7, 4, 32)})));
  EXPECT_EQ(Start(0), 1);
  rig.FireTimer();
  EXPECT_EQ(PixelColour(frames.Picture(), 5, 3), 0x336699u);
  EXPECT_EQ(Start(1), 1) << "same size and depth as the display: kept";
  EXPECT_EQ(PixelColour(frames.Picture(), 5, 3), 0u) << "kept, but cleared";
  EXPECT_EQ(memory.Bytes[size_t(memory.Stride) - 1], 0xEE) << "only the picture's own bytes are cleared";
  EXPECT_EQ(Start(2), 2) << "depth changed";
  EXPECT_EQ(Start(3), 3) << "a 24-bit segment on a 32-bit display is made anew every time";
  host.Display = 24;
  EXPECT_EQ(Start(3), 4) << "the display's depth changed";
  EXPECT_EQ(Start(3), 4) << "segment and display agree again";
  EXPECT_EQ(Start(4), 5) << "width changed";
  Start(5);
  EXPECT_EQ(host.Unsupported, std::vector<int32_t>{16});
  EXPECT_TRUE(frames.Picture().IsEmpty()) << "nothing of a 16-bit segment is drawn";
  EXPECT_NO_THROW(rig.FireTimer()) << "its records are still read; unpacking returns at once";
  EXPECT_EQ(Start(6), 6);
  EXPECT_FALSE(frames.Picture().IsEmpty());
  EXPECT_EQ(memory.Released, 7);
}

TEST_F(FrameSource, DrawsIntoTheCallersMemoryAndReportsMemoryItCannotHave) {
  Picture second = Picture::Filled(5, 3, 0x0000FF);
  second.At(4, 2) = 0xABCDEF;
  ASSERT_TRUE(LoadFromStart(BuildFilm({Spec(5, 3, 24, {Picture::Filled(5, 3, 0x0000FF), second})})));
  rig.Engine->Play();
  rig.Run();
  ASSERT_EQ(frames.Picture().Pixels, memory.Bytes.data());
  const uint8_t* last = memory.Bytes.data() + 2 * memory.Stride + 4 * 4;
  EXPECT_EQ((std::vector<uint8_t>{last[0], last[1], last[2]}), (std::vector<uint8_t>{0xEF, 0xCD, 0xAB}));
  EXPECT_EQ(Pixels(frames.Picture()), second.pixels);

  // Memory refused, or a picture one row short: no picture; without a frame buffer, the
  // player's texts.
  TSegmentInfo& segment = *list.Get(0);
  for (bool lie : {false, true}) {
    CallerMemory bad;
    bad.Refuse = !lie, bad.Lie = lie;
    TkoFrameSource refused(nullptr, &bad);
    refused.PrepareDisplay(segment);
    EXPECT_EQ(ErrorOf([&] { refused.UnpackFrame(segment); }), "UnpackFrame: Frame Is Nil");
    EXPECT_EQ(ErrorOf([&] { refused.LoadFrame(segment); }), "LoadFrame: Frame = nil");
    refused.ResetFrameBuffer(segment);
    EXPECT_TRUE(refused.Picture().IsEmpty());
    EXPECT_EQ(ErrorOf([&] { refused.UnpackFrame(segment); }), "UnpackFrame: PXorFrame Is Nil");
  }
  // A frame too large for the record size field gets no buffer, and no picture.
  segment.Width = segment.Height = 50000;
  TkoFrameSource owned;
  ASSERT_TRUE(owned.PrepareDisplay(segment));
  owned.ResetFrameBuffer(segment);
  EXPECT_EQ(owned.FrameBufferBytes(), 0u);
  EXPECT_TRUE(owned.Picture().IsEmpty());
  EXPECT_EQ(ErrorOf([&] { owned.LoadFrame(segment); }), "LoadFrame: Frame = nil");
}

TEST_F(FrameSource, DamagedRecordsAreLaidAsFarAsTheyGoAndReportedOncePerSegmentStart) {
  // 6 x 2 at depth 32, one sample per frame: after the first picture a record covering
  // 3 pixels only, one covering 20, a good one, one whose size disagrees with its run
  // count (one run of 0x0101 pixels of 0x010101 inside its 18 bytes), one too large
  // for the frame buffer of 8 + 5 x 12 = 68 bytes, and a good one.
  SegmentSpec one = Spec(6, 2, 32, {Picture::Filled(6, 2, 0x101010)});
  one.data.frameRecords = {FrameRecord({{0x000001, 3}}), FrameRecord({{0x000100, 12}, {0x010000, 8}}),
                           FrameRecord({{0x000000, 11}, {0x202020, 1}}), RawFrameRecord(8 + 5 * 2, 1, Bytes(10, 1)),
                           RawFrameRecord(73, 13, Bytes(65, 0x5A)), FrameRecord({{0x000000, 6}, {0x050000, 6}})};
  std::vector<Picture> expected(7, Picture::Filled(6, 2, 0x101010));
  for (int x = 0; x < 3; ++x) expected[1].At(x, 0) ^= 0x000001;
  expected[2] = expected[1];
  for (auto& p : expected[2].pixels) p ^= 0x000100;  // only the frame's pixels
  expected[3] = expected[2];
  expected[3].At(5, 1) ^= 0x202020;
  expected[4] = expected[3];
  for (auto& p : expected[4].pixels) p ^= 0x010101;
  expected[5] = expected[4];  // the record skipped changes nothing
  expected[6] = expected[5];
  for (int x = 0; x < 6; ++x) expected[6].At(x, 1) ^= 0x050000;
  // 5 x 3 at depth 24, three samples per frame (a record is read, expanded and laid on
  // at different ticks): a record too large for the 83-byte buffer between two good ones.
  Picture first = Picture::Filled(5, 3, 0x204060), second = first, fourth = Picture::Filled(5, 3, 0x0A0B0C);
  second.At(4, 2) = 0xFFFFFF;
  SegmentSpec three = Spec(5, 3, 24, {first, second});
  three.data.samplesPerFrame = 3;
  three.data.frameRecords = {RawFrameRecord(88, 16, Bytes(80, 0x5A)), FrameRecord(DifferenceRuns(second, fourth))};
  for (const Picture& picture : {first, second, second, fourth}) expected.push_back(picture);
  ASSERT_TRUE(LoadFromStart(BuildFilm({one, three})));

  rig.Engine->Play();
  rig.Run();
  rig.Engine->Play();  // the first segment again: its records are read from their start
  rig.Run();
  ASSERT_EQ(presenter.Shown.size(), 2 * expected.size());
  for (size_t i = 0; i < presenter.Shown.size(); ++i) {
    const size_t frame = i % expected.size();
    const PictureLog::Frame& shown = presenter.Shown[i];
    EXPECT_EQ(shown.Segment, frame < 7 ? 0 : 1);
    EXPECT_EQ(shown.Number, int32_t(frame < 7 ? frame : frame - 7));
    EXPECT_EQ(shown.Pixels, expected[frame].pixels) << "shown " << i;
  }
  EXPECT_EQ(presenter.WindowMismatches, 0) << "copying what changed shows the picture";
  const std::vector<std::string> once = {
      "Damaged frame record: its runs cover fewer pixels than the frame.",
      "Damaged frame record: its 88 bytes do not fit the frame buffer of 83; it was skipped."};
  std::vector<std::string> twice = once;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(host.Damage, twice);
  const std::vector<std::string> play = {"event 4 0", "Select 0", "event 1 0", "event 4 1", "Select 1", "event 3 0"};
  std::vector<std::string> log = play;
  log.insert(log.end(), play.begin(), play.end());
  EXPECT_EQ(rig.Log, log) << "no error: both plays run to the end of the film";
}
