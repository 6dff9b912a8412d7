// The preview above the progress bar: the reduction rule, and the second decoder, whose
// picture is the playing engine's seek picture reduced, which uses what playback
// learnt, answers at once from what it has, and leaves the playing engine alone; and
// the worker that runs it on a thread of its own.
#include <gtest/gtest.h>

#include <condition_variable>
#include <random>

#include "film/film_load_fixture.h"
#include "playback/picture_log.h"
#include "playback/preview_worker.h"
#include "support/clock_fakes.h"
#include "support/moving_film.h"

using namespace filmwriter;

namespace {
constexpr int kWidth = 61, kHeight = 35;  // reduced by 4 to 15 x 8 with a width of 16
constexpr int32_t kMaxWidth = 16;

// Busy frames of noise, a pointer wandering over them.
SegmentSpec Noise(int frames, uint8_t depth, int samplesPerFrame, uint32_t seed) {
  SegmentSpec spec = testfilms::NoiseSegment(kWidth, kHeight, frames, samplesPerFrame, seed, 40);
  spec.bitsPerPixel = depth;
  return spec;
}

std::vector<uint32_t> PixelsOf(TkoPicture picture) { return Pixels(picture.View()); }

TkoPicture Reduced(const TkoPictureView& picture) {
  TkoPicture reduced;
  EXPECT_TRUE(ReducePicture(picture, kMaxWidth, reduced));
  return reduced;
}

// Steps until the exact picture is there; the number of steps of one record it took.
int32_t StepsToExact(TPreviewDecoder& decoder) {
  int32_t steps = 0;
  while (decoder.Busy() && steps < 100000) {
    ++steps;
    if (decoder.Step(1) && decoder.Result().Exact) break;
  }
  return steps;
}

class Preview : public FilmLoad {
protected:
  Preview() {
    rig.Wire(frames, presenter);
    presenter.Engine = rig.Engine.get();
  }
  void Load(std::vector<SegmentSpec> segments) {
    ASSERT_TRUE(LoadFromStart(BuildFilm(segments)));
    rig.Engine->SetSegmentList(&list);
  }
  // What the playing engine shows after a seek there.
  TkoPicture SeekPicture(int32_t segment, int32_t frame) {
    EXPECT_TRUE(rig.Engine->SeekTo(segment, frame));
    return Reduced(frames.Picture());
  }
  TPreviewRequest Ask(int32_t segment, int32_t frame, bool withKnowledge = false) {
    TPreviewRequest request{segment, frame, kMaxWidth, {}};
    if (withKnowledge) request.Knowledge = frames.SeekIndex().Knowledge(*list.Get(segment));
    return request;
  }

  RecordingHost host;
  TkoFrameSource frames{&host};
  PictureLog presenter{frames};
  ClockRig rig;
};
}  // namespace

TEST(PreviewPicture, IsTheRoundedMeanOfWholeBlocks) {
  const std::tuple<int32_t, int32_t, int32_t> factors[] = {
      {770, 192, 5}, {768, 192, 4}, {769, 192, 5}, {192, 192, 1}, {193, 192, 2}, {1, 192, 1}, {0, 192, 1},
      {300, 0, 1}, {1400, 384, 4}};
  for (const auto& [width, maxWidth, k] : factors) EXPECT_EQ(PreviewFactor(width, maxWidth), k) << width;

  // 7 x 5 at k = 3 (maxWidth 3): 2 x 1 pixels; the last column and rows are left out.
  // Blue sums 13 and 14 round to 1 and 2 (1.44, 1.56); green 9 x 255 stays 255; red
  // sums 4 (0.44) and 5 (0.56) round to 0 and 1.
  for (const int32_t depth : {24, 32}) {
    TkoPicture source(7, 5, depth);
    const TkoPictureView view = source.View();
    for (int32_t y = 0; y < 5; ++y)
      for (int32_t x = 0; x < 7; ++x) SetPixelColour(view, x, y, 0xFFFFFF);  // outside the blocks: unseen
    for (int32_t y = 0; y < 3; ++y)
      for (int32_t x = 0; x < 6; ++x) {
        const bool first = x < 3, corner = x % 3 == 0 && y == 0;
        const uint32_t blue = corner ? (first ? 5 : 6) : 1;
        const uint32_t red = corner ? (first ? 4 : 5) : 0;
        SetPixelColour(view, x, y, red << 16 | 0xFF00 | blue);
      }
    TkoPicture reduced;
    ASSERT_TRUE(ReducePicture(view, 3, reduced)) << depth;
    ASSERT_EQ(reduced.Width(), 2);
    ASSERT_EQ(reduced.Height(), 1);
    EXPECT_EQ(PixelColour(reduced.View(), 0, 0), 0x00FF01u) << depth;
    EXPECT_EQ(PixelColour(reduced.View(), 1, 0), 0x01FF02u) << depth;
  }
  // k = 2: a sum of 6 is 1.5, which rounds up; a frame lower than k has no preview.
  TkoPicture two(2, 2, 32), reduced;
  for (int32_t i = 0; i < 4; ++i) SetPixelColour(two.View(), i % 2, i / 2, i < 2 ? 0x010101 : 0x020202);
  ASSERT_TRUE(ReducePicture(two.View(), 1, reduced));
  EXPECT_EQ(PixelColour(reduced.View(), 0, 0), 0x020202u);
  EXPECT_FALSE(ReducePicture(TkoPicture(9, 1, 32).View(), 4, reduced));
  EXPECT_FALSE(ReducePicture({}, 4, reduced));
}

TEST_F(Preview, ShowsTheSeeksPictureReducedAndLeavesThePlayingEngineAlone) {
  Load({Noise(80, 32, 1, 1), Noise(60, 24, 3, 2)});
  TPreviewDecoder decoder(list, 0);
  // Frames of both segments in a shuffled order, forwards and back, and the last ones.
  std::vector<std::pair<int32_t, int32_t>> order;
  for (int32_t frame = 0; frame < 60; frame += 7) order.insert(order.end(), {{0, frame + 20}, {1, frame}});
  std::shuffle(order.begin(), order.end(), std::mt19937(3));
  order.insert(order.end(), {{0, 79}, {1, 59}, {1, 58}, {0, 0}});
  ASSERT_TRUE(rig.Engine->SeekTo(0, 5));
  for (const auto& [segment, frame] : order) {
    const int64_t playingAt = list.Get(rig.Engine->CurrentSegment())->FrameStream->GetPosition();
    decoder.Request(Ask(segment, frame));
    StepsToExact(decoder);
    ASSERT_TRUE(decoder.Result().Exact) << segment << ":" << frame;
    EXPECT_EQ(list.Get(rig.Engine->CurrentSegment())->FrameStream->GetPosition(), playingAt)
        << "the playing engine's stream stays where it was";
    const TkoPicture expected = SeekPicture(segment, frame);
    EXPECT_EQ(PixelsOf(decoder.Result().Picture), PixelsOf(expected))
        << "segment " << segment << ", frame " << frame;
  }
  // A segment that is not there, or asking for nothing, makes no picture.
  for (const int32_t segment : {-1, 2}) {
    decoder.Request(Ask(segment, 0));
    EXPECT_FALSE(decoder.Busy());
    EXPECT_FALSE(decoder.Step(100));
  }
}

TEST_F(Preview, UsesWhatPlaybackLearntAndAnswersAtOnceFromWhatItHas) {
  Load({Noise(400, 32, 1, 4)});
  frames.SetSeekBudget(size_t{8} * kWidth * kHeight * 4);
  ASSERT_TRUE(rig.Engine->SeekTo(0, 399));  // playback has read the whole segment
  ASSERT_GT(frames.SeekIndex().PictureCount(*list.Get(0)), 1);

  // With what playback learnt a far frame takes a few records; without, every one.
  TPreviewDecoder taught(list, 0), alone(list, 0);
  taught.Request(Ask(0, 390, true));
  alone.Request(Ask(0, 390));
  const int32_t withKnowledge = StepsToExact(taught), without = StepsToExact(alone);
  EXPECT_LT(withKnowledge, 391 / 4) << "from a kept picture of playback";
  EXPECT_GE(without, 391);
  EXPECT_EQ(PixelsOf(taught.Result().Picture), PixelsOf(alone.Result().Picture));

  // A frame previewed before is there at the first step, without work.
  TPreviewDecoder decoder(list, 0);
  decoder.Request(Ask(0, 10));
  StepsToExact(decoder);
  decoder.Request(Ask(0, 300));  // not read that far yet: frame 10 at once, then 300
  ASSERT_TRUE(decoder.Step(1));
  EXPECT_FALSE(decoder.Result().Exact);
  EXPECT_EQ(decoder.Result().Frame, 10);
  StepsToExact(decoder);
  EXPECT_TRUE(decoder.Result().Exact);
  EXPECT_EQ(decoder.Result().Frame, 300);
  decoder.Request(Ask(0, 10));
  ASSERT_TRUE(decoder.Step(0));
  EXPECT_TRUE(decoder.Result().Exact);
  EXPECT_EQ(decoder.Result().Frame, 10);
  EXPECT_FALSE(decoder.Busy());
  // Within the records read, the exact picture comes without a stand-in.
  decoder.Request(Ask(0, 200));
  for (int32_t i = 0; i < 1000 && !decoder.Step(1); ++i) continue;
  EXPECT_TRUE(decoder.Result().Exact);
  EXPECT_EQ(decoder.Result().Frame, 200);
}

TEST_F(Preview, WorkerMakesThePicturesOnItsOwnThreadAndLetsGoOfItsFiles) {
  Load({Noise(120, 32, 1, 5)});
  std::mutex lock;
  std::condition_variable told;
  int ready = 0;
  TPreviewWorker worker([&] {
    const std::lock_guard hold(lock);
    ++ready;
    told.notify_all();
  });
  worker.SetDecoder(std::make_unique<TPreviewDecoder>(list, 0));
  worker.Request(Ask(0, 50));
  worker.Request(Ask(0, 119));  // replaces the one before
  TPreviewPicture picture;
  {
    std::unique_lock wait(lock);
    ASSERT_TRUE(told.wait_for(wait, std::chrono::seconds(20), [&] {
      return ready > 0 && worker.TakePicture(picture) && picture.Exact && picture.Frame == 119;
    }));
  }
  EXPECT_EQ(PixelsOf(picture.Picture), PixelsOf(SeekPicture(0, 119)));
  worker.Request(Ask(0, 5));
  worker.SetDecoder(nullptr);  // mid-work: returns once the decoder and its files are gone
  EXPECT_FALSE(worker.HasDecoder());
  ClearAndExpectNothingLeft();
}
