// Seeking with the real frame source over films the film writer made: the picture a
// seek shows is the one playing to that frame shows (pointer included), playback goes
// on in step from it, and damaged records behave as they do in playback.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "film/film_load_fixture.h"
#include "playback/picture_log.h"
#include "support/clock_fakes.h"

using namespace filmwriter;

namespace {
constexpr int kWidth = 48, kHeight = 32;

// A lesson in small: quiet stretches (a few pixels), busy ones (most pixels, noise),
// frames that change nothing; the pointer, a black square, wanders (three samples a
// frame when asked).
SegmentSpec Lesson(int frames, uint8_t depth, int samplesPerFrame, uint32_t seed) {
  std::mt19937 random(seed);
  SegmentSpec spec;
  spec.bitsPerPixel = depth;
  spec.data.cursorRecords = {CursorRecord(MonochromeCursor(2, 2, 6, 6, std::vector<uint8_t>(36, 0)))};  // black
  spec.data.samplesPerFrame = samplesPerFrame;
  Picture picture = Picture::Filled(kWidth, kHeight, 0xD4D0C8);
  for (int k = 0; k < frames; ++k) {
    const int phase = (k / 10) % 3;  // quiet, busy, still
    const int changes = phase == 0 ? 3 : phase == 1 ? kWidth * kHeight / 2 : 0;
    for (int i = 0; i < changes; ++i) picture.pixels[random() % picture.pixels.size()] = random() & 0xFFFFFF;
    spec.data.pictures.push_back(picture);
  }
  std::vector<CursorSample> track;
  for (int i = 0; i < frames * samplesPerFrame; ++i)
    track.push_back({0, uint16_t(random() % (kWidth + 8)), uint16_t(random() % (kHeight + 8))});
  spec.data.cursorTrack = track;
  spec.sound = {'I', 'D', '3', 4, 0, 0, 1, 2, 3};
  return spec;
}

class SeekEngine : public FilmLoad {
protected:
  SeekEngine() {
    rig.Wire(frames, presenter);
    rig.Engine->SetSegmentList(&list);
    presenter.Engine = rig.Engine.get();
    rig.Sound.LengthValue = 6000;
  }
  // Plays the whole film once and keeps every picture shown, by segment and frame.
  void PlayThrough() {
    rig.Engine->Play();
    while (rig.Engine->State() != psStopped && (rig.FireTimer() || rig.Shell.NextPending > 0)) {
      if (!presenter.Shown.empty()) played[presenter.LastShown()] = Last();
      rig.RunPosted();
    }
  }
  // Delivers timer events until the next whole picture is shown (events of a chain a
  // seek replaced do nothing).
  void FireUntilShown() {
    const size_t shown = presenter.Shown.size();
    for (int i = 0; i < 10 && presenter.Shown.size() == shown; ++i) rig.FireTimer();
  }
  const std::vector<uint32_t>& Last() const { return presenter.Shown.back().Pixels; }
  // Seeks and checks the picture against the one playing showed.
  void ExpectSeekShows(int32_t segment, int32_t frame) {
    ASSERT_TRUE(rig.Engine->SeekTo(segment, frame)) << segment << ":" << frame;
    EXPECT_EQ(presenter.LastShown(), std::pair(segment, frame));
    EXPECT_TRUE(Last() == played.at({segment, frame})) << "segment " << segment << ", frame " << frame;
  }

  RecordingHost host;
  TkoFrameSource frames{&host};
  PictureLog presenter{frames};
  ClockRig rig;
  std::map<std::pair<int32_t, int32_t>, std::vector<uint32_t>> played;
};
}  // namespace

TEST_F(SeekEngine, ASeekShowsExactlyWhatPlayingToThatFrameShows) {
  // Pointer tracks shorter than the frames: playing leaves the pointer on the last whole
  // sample, so must a seek. The second track ends in half a sample.
  SegmentSpec first = Lesson(60, 32, 1, 1), second = Lesson(45, 24, 3, 2);
  first.data.cursorTrack->resize(25);
  second.data.cursorTrack->resize(50);
  second.header.cursorTrackSize = 50 * 6 - 3;
  ASSERT_TRUE(LoadFromStart(BuildFilm({first, second})));
  // Room for three pictures: most seeks restore one and lay records after it.
  frames.SetSeekBudget(3 * kWidth * kHeight * 4);
  PlayThrough();
  ASSERT_EQ(played.size(), 105u);
  EXPECT_GT(frames.SeekIndex().PictureCount(), 0);

  // Every frame of both segments in a shuffled order, then runs forwards and backwards
  // and a jump between the segments at every step.
  std::vector<std::pair<int32_t, int32_t>> order;
  for (const auto& [shown, pixels] : played) order.push_back(shown);
  std::shuffle(order.begin(), order.end(), std::mt19937(7));
  for (int32_t k = 0; k < 45; ++k) order.push_back({k % 2, k % 2 == 0 ? k : 44 - k});
  for (const auto& [segment, frame] : order) ExpectSeekShows(segment, frame);
  EXPECT_LE(frames.SeekIndex().PeakPictureBytes(), frames.SeekIndex().Budget());

  // Another film forgets what was learnt: the first seek lays every record from black.
  rig.Engine->SetSegmentList(&list);
  EXPECT_EQ(frames.SeekIndex().PictureCount(), 0);
  ExpectSeekShows(0, 59);
  ExpectSeekShows(1, 44);
  EXPECT_EQ(presenter.WindowMismatches, 0) << "copying what changed shows the picture, pointer included";
}

TEST_F(SeekEngine, PlaybackGoesOnInStepFromTheFrameSought) {
  ASSERT_TRUE(LoadFromStart(BuildFilm({Lesson(40, 32, 1, 3), Lesson(40, 32, 3, 4)})));
  PlayThrough();
  for (const int32_t segment : {0, 1}) {
    SCOPED_TRACE(segment);
    const int32_t samples = segment == 0 ? 1 : 3;
    rig.Engine->Play();
    rig.FireTimer();
    ExpectSeekShows(segment, 17);
    EXPECT_EQ(rig.Engine->State(), psPlaying);
    EXPECT_EQ(rig.Engine->TickCounter(), 17 * samples + 1);
    // The sound is sought to the frame the next ticks show (one sample a frame: the next
    // record is read already) and plays; the pictures go on from 18.
    rig.Sound.Calls.clear();
    for (int32_t frame = 18; frame <= 20; ++frame) {
      FireUntilShown();
      EXPECT_EQ(presenter.LastShown(), std::pair(segment, frame));
      EXPECT_TRUE(Last() == played.at({segment, frame})) << frame;
    }
    EXPECT_EQ(rig.Engine->TickCounter(), 20 * samples + 1);
    const std::vector<std::string> resync = {"Format 9", "Seek " + std::to_string(6000 * (samples == 1 ? 18 : 17) / 40),
                                             "Play"};
    ASSERT_GE(rig.Sound.Calls.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(rig.Sound.Calls.begin(), rig.Sound.Calls.begin() + 3), resync);
    rig.Engine->Stop();
  }
  EXPECT_EQ(presenter.WindowMismatches, 0);
}

TEST_F(SeekEngine, DamagedRecordsAreToldOnceAndACutRecordStopsTheFilm) {
  // Good pictures, a record too large for the frame buffer, one whose size disagrees
  // with its run count, one covering too few pixels, then good ones again.
  SegmentSpec damaged = Lesson(12, 32, 1, 5);
  const size_t bufferSize = 8 + 5 * kWidth * kHeight;
  damaged.data.frameRecords = {RawFrameRecord(int32_t(bufferSize + 5), 1, Bytes(bufferSize - 3, 0x5A)),
                               RawFrameRecord(8 + 5 * 2, 1, Bytes(10, 1)), FrameRecord({{0x010203, 100}}),
                               FrameRecord({{0x000000, 1000}, {0x204080, 536}})};
  damaged.data.cursorTrack.reset();
  // A last record that claims more bytes than the data file has left.
  SegmentSpec cut = Lesson(8, 32, 1, 6);
  cut.data.frameRecords = {RawFrameRecord(8 + 5 * 4, 4, Bytes(10, 0))};
  cut.data.cursorTrack = std::vector<CursorSample>{};
  SegmentSpec notDrawn = cut;
  notDrawn.bitsPerPixel = 16;
  ASSERT_TRUE(LoadFromStart(BuildFilm({damaged, cut, notDrawn})));
  PlayThrough();
  ASSERT_EQ(host.Damage.size(), 1u) << "told once for the segment";
  EXPECT_EQ(played.size(), 16u + 8u);
  EXPECT_EQ(std::count(rig.Log.begin(), rig.Log.end(), "Error LoadFrame: BytesRead <> size"), 1);

  host.Damage.clear();
  for (int32_t frame = 15; frame >= 0; frame -= 3) ExpectSeekShows(0, frame);
  ExpectSeekShows(0, 15);
  EXPECT_EQ(host.Damage.size(), 1u) << "told once again: the seek started the segment anew";

  // As in playback: frame 7 is shown, then reading the record after it fails.
  ExpectSeekShows(1, 6);
  for (const int32_t frame : {7, 8}) {
    rig.Log.clear();
    EXPECT_FALSE(rig.Engine->SeekTo(1, frame));
    EXPECT_EQ(rig.Engine->State(), psStopped);
    std::vector<std::string> log = {"event 3 0", "Error LoadFrame: BytesRead <> size"};
    if (frame == 8) log.insert(log.begin(), {"event 4 1", "Select 1"});  // stopped before: started anew
    EXPECT_EQ(rig.Log, log);
    EXPECT_TRUE(Last() == played.at({1, 7}));
  }

  // A segment that is not drawn, sought before its records were read: they are read in
  // order up to the frame, and the record after it fails as in playback.
  rig.Engine->SetSegmentList(&list);
  EXPECT_FALSE(rig.Engine->SeekTo(2, 7));
  EXPECT_EQ(rig.Log.back(), "Error LoadFrame: BytesRead <> size");
  EXPECT_TRUE(rig.Engine->SeekTo(2, 6));
  EXPECT_EQ(std::tuple(rig.Engine->ShownFrame(), rig.Engine->State()), std::tuple(6, psPaused));
}
