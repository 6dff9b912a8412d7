// The engine ticking the real frame source through films with damaged frame records:
// a record that can be stepped over is reported once and the film plays on to its
// last frame; a record that cannot be read stops the film with its text.
#include <gtest/gtest.h>

#include <algorithm>

#include "film/film_load_fixture.h"
#include "playback/frame_source.h"
#include "support/clock_fakes.h"

using namespace filmwriter;

namespace {
class DamageHost : public TFrameSourceHost {
public:
  void DamagedRecord(const std::string& text) override { Damage.push_back(text); }
  std::vector<std::string> Damage;
};

// Keeps every whole picture the engine presents, with the frame it was shown for.
class PictureLog : public TFramePresenter {
public:
  explicit PictureLog(const TkoFrameSource& frames) : FFrames(frames) {}
  void LayOut() override {}
  void PresentWholeFrame() override {
    const TkoPictureView& view = FFrames.Picture();
    Picture picture = Picture::Filled(view.Width, view.Height, 0);
    for (int y = 0; y < view.Height; ++y)
      for (int x = 0; x < view.Width; ++x) picture.At(x, y) = PixelColour(view, x, y);
    Shown.push_back({Engine->CurrentSegment(), Engine->CurrentFrame(), picture.pixels});
  }
  void PresentCursorArea() override {}

  struct Frame {
    int32_t Segment, Number;
    std::vector<uint32_t> Pixels;
  };
  const TPlaybackEngine* Engine = nullptr;
  std::vector<Frame> Shown;

private:
  const TkoFrameSource& FFrames;
};

class ClockDamagedFilm : public FilmLoad {
protected:
  // Plays the loaded film from its first segment until nothing is left to do. The
  // rig's timer, sound and shell stay; the frames are the real ones.
  void PlayToTheEnd() {
    frames.SetCursorVisible(false);
    rig.Engine = std::make_unique<TPlaybackEngine>(
        TPlaybackServices{rig.Timer, rig.Sound, frames, presenter, rig.Shell, rig.Events});
    rig.Engine->SetSegmentList(&list);
    rig.Engine->SetEventData(&rig.Log);
    rig.Shell.Engine = rig.Engine.get();
    presenter.Engine = rig.Engine.get();
    rig.Engine->Play();
    rig.Run();
  }
  std::vector<std::string> Errors() const {
    std::vector<std::string> errors;
    for (const std::string& entry : rig.Log)
      if (entry.rfind("Error ", 0) == 0) errors.push_back(entry);
    return errors;
  }

  // Declared before the rig: its engine refers to them and goes first.
  DamageHost host;
  TkoFrameSource frames{&host};
  PictureLog presenter{frames};
  ClockRig rig;
};

// 5 x 3 pictures at depth 24; the frame buffer holds 8 + 5 x 15 = 83 bytes.
struct FivePictures {
  Picture first = Picture::Filled(5, 3, 0x204060), second = first, fourth = Picture::Filled(5, 3, 0x0A0B0C),
          fifth = fourth;
  FivePictures() {
    second.At(4, 2) = 0xFFFFFF;
    fourth.At(0, 0) = 0x123456;
    fifth.At(2, 1) = 0;
  }
  // Frames first, second, a record too large for the buffer, fourth, fifth.
  SegmentSpec Segment(int samplesPerFrame) const {
    SegmentSpec spec;
    spec.bitsPerPixel = 24;
    spec.data.samplesPerFrame = samplesPerFrame;
    spec.data.cursorRecords = {EmptyCursorRecord()};
    spec.data.pictures = {first, second};
    spec.data.frameRecords = {RawFrameRecord(88, 16, Bytes(80, 0x5A)), FrameRecord(DifferenceRuns(second, fourth)),
                              FrameRecord(DifferenceRuns(fourth, fifth))};
    return spec;
  }
};
}  // namespace

TEST_F(ClockDamagedFilm, ARecordTooLargeForTheBufferIsSkippedAndTheFilmPlaysToItsEnd) {
  const FivePictures pictures;
  // One and three cursor samples per frame: with three, a record is read, expanded
  // and laid on at different ticks.
  ASSERT_TRUE(LoadFromStart(BuildFilm({pictures.Segment(1), pictures.Segment(3)})));
  PlayToTheEnd();

  const std::vector<Picture> expected = {pictures.first, pictures.second, pictures.second, pictures.fourth,
                                         pictures.fifth};
  ASSERT_EQ(presenter.Shown.size(), 2 * expected.size());
  for (size_t i = 0; i < presenter.Shown.size(); ++i) {
    const PictureLog::Frame& shown = presenter.Shown[i];
    const size_t frame = i % expected.size();
    EXPECT_EQ(shown.Segment, int32_t(i / expected.size()));
    EXPECT_EQ(shown.Number, int32_t(frame));
    EXPECT_EQ(shown.Pixels, expected[frame].pixels) << "segment " << shown.Segment << " frame " << frame;
  }
  EXPECT_EQ(Errors(), std::vector<std::string>{});
  EXPECT_EQ(host.Damage, std::vector<std::string>(
                             2, "Damaged frame record: its 88 bytes do not fit the frame buffer of 83; it was skipped."));
  EXPECT_EQ(rig.Engine->State(), psStopped) << "stopped by Next after the last segment";
}

TEST_F(ClockDamagedFilm, ARecordCutByTheEndOfTheDataFileStopsTheFilmWithItsText) {
  const FivePictures pictures;
  SegmentSpec cut = pictures.Segment(1);
  // Behind the frame records lie only the cursor track and the extra block, far fewer
  // than the 83 bytes the third record claims.
  cut.data.frameRecords = {RawFrameRecord(83, 15, Bytes(10, 0))};
  ASSERT_TRUE(LoadFromStart(BuildFilm({cut, pictures.Segment(1)})));
  PlayToTheEnd();

  EXPECT_EQ(Errors(), std::vector<std::string>{"Error LoadFrame: BytesRead <> size"});
  ASSERT_EQ(presenter.Shown.size(), 2u) << "the frames before the cut record";
  EXPECT_EQ(presenter.Shown[1].Pixels, pictures.second.pixels);
  EXPECT_TRUE(std::all_of(presenter.Shown.begin(), presenter.Shown.end(),
                          [](const PictureLog::Frame& shown) { return shown.Segment == 0; }))
      << "the film stops; the next segment is not started";
  EXPECT_EQ(rig.Engine->State(), psStopped);
  EXPECT_TRUE(host.Damage.empty());
}
