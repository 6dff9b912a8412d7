// Reading a segment for the activity model: from the data file of a film that plays
// meanwhile, and from damaged or empty segments.
#include "playback/activity_source.h"

#include <gtest/gtest.h>

#include "film/data_file.h"
#include "film/film_load_fixture.h"

using namespace filmwriter;

namespace {
SegmentSpec Segment(int frames, int samples = 1) {
  SegmentSpec spec;
  spec.soundKind = filmwriter::kSoundWave;
  spec.data.samplesPerFrame = samples;
  Picture picture = Picture::Filled(5, 4, 0x102030);
  std::vector<CursorSample> track;
  for (int k = 0; k < frames; ++k) {
    picture.At(k % 5, 1) ^= 0x010000;
    spec.data.pictures.push_back(picture);
    for (int s = 0; s < samples; ++s) track.push_back({uint16_t(s), uint16_t(k), uint16_t(2 * k + s)});
  }
  spec.data.cursorTrack = track;
  return spec;
}

class ActivitySource : public FilmLoad {};
}  // namespace

TEST_F(ActivitySource, ReadsEveryRecordAndSampleBesideThePlayersOwnReading) {
  ASSERT_TRUE(LoadFromStart(BuildFilm({Segment(12), Segment(7, 3)})));
  TSegmentInfo& playing = *list.Get(1);
  std::vector<uint8_t> frame(FrameBufferSize(playing.Width, playing.Height));
  ASSERT_TRUE(LoadFrame(&playing, frame).Ok);  // the player has read a record: its stream moved on
  const int32_t position = playing.FrameStream->GetPosition();

  TActivityInput input;
  ASSERT_EQ(ReadActivityInput(TActivitySource::Of(playing, 1), input), "");
  EXPECT_EQ(playing.FrameStream->GetPosition(), position) << "the player's stream is not touched";
  EXPECT_EQ(input.Segment, 1);
  EXPECT_EQ(input.FramesPerSecond, 10);
  EXPECT_EQ(input.SamplesPerFrame, 3);
  ASSERT_EQ(input.Frames.size(), 7u);
  EXPECT_EQ(input.Frames[0].ChangedPixels, 20) << "the first picture against black";
  for (size_t k = 1; k < 7; ++k) {
    EXPECT_EQ(input.Frames[k].ChangedPixels, 1) << k;
    EXPECT_EQ(input.Frames[k].Area, (TkoRect{int32_t(k % 5), 1, int32_t(k % 5) + 1, 2})) << k;
  }
  ASSERT_EQ(input.Pointer.size(), 21u);
  EXPECT_EQ(input.Pointer[20].Index, 2);
  EXPECT_EQ(input.Pointer[20].X, 6);
  EXPECT_EQ(input.Pointer[20].Y, 14);
  EXPECT_FALSE(input.Sound.has_value());
}

TEST_F(ActivitySource, RecordsThatCannotBeReadCountAsUnchanged) {
  SegmentSpec announced = Segment(6);
  announced.header.frameCount = 9;  // three records more than the file holds
  SegmentSpec empty = Segment(0);
  SegmentSpec oversized = Segment(3);  // then a record larger than any frame, and one more
  oversized.data.frameRecords = {RawFrameRecord(400, 78, Bytes(392, 0x11)), FrameRecord({{0x000001, 20}})};
  oversized.data.cursorTrack->resize(5);
  ASSERT_TRUE(LoadFromStart(BuildFilm({announced, empty, oversized})));

  TActivityInput input;
  EXPECT_NE(ReadActivityInput(TActivitySource::Of(*list.Get(0), 0), input), "");
  ASSERT_EQ(input.Frames.size(), 9u) << "the segment keeps its length";
  EXPECT_EQ(input.Frames[5].ChangedPixels, 1);
  EXPECT_EQ(input.Frames[6].ChangedPixels, 0);
  EXPECT_EQ(input.Frames[8].ChangedPixels, 0);

  TActivityInput none;
  EXPECT_EQ(ReadActivityInput(TActivitySource::Of(*list.Get(1), 1), none), "the segment has no frame records");
  EXPECT_TRUE(none.Frames.empty());

  TActivityInput stepped;
  EXPECT_EQ(ReadActivityInput(TActivitySource::Of(*list.Get(2), 2), stepped), "") << "stepped over, as the player does";
  ASSERT_EQ(stepped.Frames.size(), 5u);
  EXPECT_EQ(stepped.Frames[2].ChangedPixels, 1);
  EXPECT_EQ(stepped.Frames[3].ChangedPixels, 0) << "nothing of it is laid";
  EXPECT_EQ(stepped.Frames[4].ChangedPixels, 20);

  TActivitySource gone = TActivitySource::Of(*list.Get(0), 0);
  gone.DataFile = root / "gone.dat";
  EXPECT_NE(ReadActivityInput(gone, input), "");
}
