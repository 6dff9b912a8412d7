// The activity model on segments the film writer made: what keeps a stretch from
// being idle (a changed pixel, a pointer step or shape, sound at the floor), where
// stretches begin and end, and the per-second figures, with one and three pointer
// samples per frame.
#include "playback/activity_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

#include "film/film_load_fixture.h"
#include "playback/activity_source.h"

using namespace filmwriter;

namespace {
constexpr int kRate = 10;
constexpr float kSilence = -std::numeric_limits<float>::infinity();

// A segment of 8 x 6 pictures at 10 frames per second. Frame 0 draws the first
// picture; each frame in Changes flips one pixel. The pointer rests at (3, 3) with
// cursor 0 unless a sample is set otherwise.
struct Scene {
  int Frames = 60;
  int Samples = 1;
  std::set<int> Changes;
  std::vector<CursorSample> Pointer;  // filled by Build when empty
  std::optional<std::vector<float>> Sound;

  // Every frame changes but those after from and before to.
  static Scene QuietBetween(int from, int to, int frames = 60) {
    Scene scene;
    scene.Frames = frames;
    for (int k = 1; k < frames; ++k)
      if (k <= from || k >= to) scene.Changes.insert(k);
    return scene;
  }
  CursorSample& Sample(int i) {
    if (Pointer.empty()) Pointer.assign(size_t(Frames) * size_t(Samples), CursorSample{0, 3, 3});
    return Pointer[size_t(i)];
  }
};

SegmentSpec SpecOf(Scene scene) {
  SegmentSpec spec;
  spec.framesPerSecond = kRate;
  spec.soundKind = filmwriter::kSoundWave;
  spec.data.samplesPerFrame = scene.Samples;
  Picture picture = Picture::Filled(8, 6, 0x405060);
  for (int k = 0; k < scene.Frames; ++k) {
    if (scene.Changes.count(k) != 0) picture.At(k % 8, k % 6) ^= 0x000100;
    spec.data.pictures.push_back(picture);
  }
  scene.Sample(0);  // the resting track unless the scene set one
  spec.data.cursorTrack = scene.Pointer;
  return spec;
}

class Activity : public FilmLoad {
protected:
  // The activity of the scene's segment as a film made of it reads.
  TSegmentActivity Of(Scene scene, const TActivitySettings& settings = {}) {
    list.Clear();  // the film before
    EXPECT_TRUE(LoadFromStart(BuildFilm({SpecOf(scene)})));
    TActivityInput input;
    EXPECT_EQ(ReadActivityInput(TActivitySource::Of(*list.Get(0), 0), input), "");
    if (scene.Sound) input.Sound = TSoundLevels{100, 100, *scene.Sound};  // windows side by side
    return ComputeActivity(input, settings);
  }
};

// Stretches as text, "from-to" to the millisecond: a failure then shows them all.
std::string Stretches(const TSegmentActivity& activity) {
  std::string text;
  for (const TIdleStretch& idle : activity.Idle) {
    char part[48];
    std::snprintf(part, sizeof part, "%s%.3f-%.3f", text.empty() ? "" : " ", idle.From, idle.To);
    text += part;
  }
  return text;
}

std::vector<float> Levels(int windows, float db) { return std::vector<float>(size_t(windows), db); }
}  // namespace

TEST_F(Activity, AStretchIsIdleFromExactlyTheIdleLength) {
  EXPECT_EQ(Stretches(Of(Scene::QuietBetween(10, 40))), "1.000-4.000") << "exactly 3 s";
  EXPECT_EQ(Stretches(Of(Scene::QuietBetween(10, 39))), "") << "one frame short of 3 s";
  EXPECT_EQ(Stretches(Of(Scene::QuietBetween(10, 41))), "1.000-4.100");
  TActivitySettings longer;
  longer.IdleMilliseconds = 3100;
  EXPECT_EQ(Stretches(Of(Scene::QuietBetween(10, 40), longer)), "") << "the idle length is a setting";
  EXPECT_EQ(Stretches(Of(Scene::QuietBetween(10, 41), longer)), "1.000-4.100");
}

TEST_F(Activity, AnyPointerStepOrShapeChangeBreaksTheStretch) {
  Scene step = Scene::QuietBetween(10, 45);
  for (int i = 25; i < 60; ++i) step.Sample(i) = {0, 4, 3};  // one pixel right, and it rests there
  const TSegmentActivity stepped = Of(step);
  EXPECT_EQ(Stretches(stepped), "") << "quiet 1.0-2.5 and 2.5-4.5";
  EXPECT_DOUBLE_EQ(stepped.Slices[2].PointerTravel, 1.0);
  EXPECT_EQ(stepped.Slices[2].ShapeChanges, 0);

  Scene shape = Scene::QuietBetween(10, 45);
  for (int i = 25; i < 60; ++i) shape.Sample(i) = {1, 3, 3};  // another cursor, same place
  const TSegmentActivity reshaped = Of(shape);
  EXPECT_EQ(Stretches(reshaped), "");
  EXPECT_EQ(reshaped.Slices[2].ShapeChanges, 1);
  EXPECT_DOUBLE_EQ(reshaped.Slices[2].PointerTravel, 0.0);

  Scene diagonal = Scene::QuietBetween(10, 45);
  for (int i = 12; i < 60; ++i) diagonal.Sample(i) = {0, 6, 7};
  EXPECT_DOUBLE_EQ(Of(diagonal).Slices[1].PointerTravel, 5.0) << "a straight step of 3 and 4";
}

TEST_F(Activity, SoundAtTheFloorIsHeardAndBelowItIsSilence) {
  const auto with = [](float loud) {
    Scene scene = Scene::QuietBetween(10, 45);
    scene.Sound = Levels(60, -70.0f);
    (*scene.Sound)[25] = loud;  // 2.5 to 2.6 s
    return scene;
  };
  EXPECT_EQ(Stretches(Of(with(-45.1f))), "1.000-4.500") << "just below the floor";
  EXPECT_EQ(Stretches(Of(with(-45.0f))), "") << "at the floor";
  EXPECT_EQ(Stretches(Of(with(-44.9f))), "") << "just above";

  // A loud window is heard all through: the quiet after it starts when it ends.
  Scene longQuiet = Scene::QuietBetween(10, 59);
  longQuiet.Sound = Levels(60, kSilence);
  (*longQuiet.Sound)[12] = -20.0f;
  EXPECT_EQ(Stretches(Of(longQuiet)), "1.300-5.900");
  TActivitySettings lower;
  lower.SilenceFloorDb = -15.0f;
  EXPECT_EQ(Stretches(Of(longQuiet, lower)), "1.000-5.900") << "the floor is a setting";
}

TEST_F(Activity, StretchesReachTheSegmentsStartAndEnd) {
  Scene start;  // frame 0 draws the picture; nothing else until frame 35
  for (int k = 35; k < 60; ++k) start.Changes.insert(k);
  EXPECT_EQ(Stretches(Of(start)), "0.000-3.500");

  Scene end;  // the last frame is shown for a frame's time: the segment lasts 6 s
  for (int k = 1; k <= 30; ++k) end.Changes.insert(k);
  const TSegmentActivity ended = Of(end);
  EXPECT_EQ(Stretches(ended), "3.000-6.000");
  EXPECT_DOUBLE_EQ(ended.Seconds, 6.0);

  Scene shortEnd;
  for (int k = 1; k <= 31; ++k) shortEnd.Changes.insert(k);
  EXPECT_EQ(Stretches(Of(shortEnd)), "") << "2.9 s to the end";

  Scene both;  // one change in the middle of 9 s
  both.Frames = 90;
  both.Changes = {45};
  EXPECT_EQ(Stretches(Of(both)), "0.000-4.500 4.500-9.000");
}

TEST_F(Activity, ASegmentWithoutSoundIsSilentAndSaysSo) {
  Scene mute = Scene::QuietBetween(10, 40);
  const TSegmentActivity none = Of(mute);
  EXPECT_FALSE(none.HasSound);
  EXPECT_EQ(Stretches(none), "1.000-4.000");
  EXPECT_TRUE(std::isinf(none.Slices[2].SoundDb));

  Scene silent = Scene::QuietBetween(10, 40);
  silent.Sound = Levels(60, kSilence);
  const TSegmentActivity quiet = Of(silent);
  EXPECT_TRUE(quiet.HasSound);
  EXPECT_EQ(Stretches(quiet), "1.000-4.000") << "digital silence";

  Scene shortSound = Scene::QuietBetween(10, 50);
  shortSound.Sound = Levels(20, -10.0f);  // loud, but over after 2 s: then silence
  EXPECT_EQ(Stretches(Of(shortSound)), "2.000-5.000");
}

TEST_F(Activity, ThreeSamplesPerFrameMoveThePointerBetweenFrames) {
  // Sample i is shown at i / 30 s: a step in the last sample before frame 40 (at
  // 3.967 s) leaves 2.967 s of quiet, a step with frame 40's first sample 3.0 s.
  const auto stepAt = [](int sample) {
    Scene scene = Scene::QuietBetween(10, 45);
    scene.Samples = 3;
    for (int i = sample; i < 180; ++i) scene.Sample(i) = {0, 4, 3};
    return scene;
  };
  EXPECT_EQ(Stretches(Of(stepAt(119))), "");
  EXPECT_EQ(Stretches(Of(stepAt(120))), "1.000-4.000");
  EXPECT_EQ(Stretches(Of(stepAt(121))), "1.000-4.033");
  EXPECT_DOUBLE_EQ(Of(stepAt(121)).Slices[4].PointerTravel, 1.0);

  Scene tail = Scene::QuietBetween(10, 59);  // samples past the last frame are never shown
  tail.Samples = 3;
  tail.Sample(0);
  tail.Pointer.push_back({0, 9, 9});
  EXPECT_EQ(Stretches(Of(tail)), "1.000-5.900");
}

TEST_F(Activity, EverySecondTellsWhereThingsHappen) {
  Scene scene;
  scene.Frames = 25;  // 2.5 s: the last slice is half a second
  scene.Changes = {3, 14};
  scene.Sample(0);
  for (int i = 6; i < 25; ++i) scene.Sample(i) = {0, 3, 5};
  scene.Sound = Levels(25, -60.0f);
  (*scene.Sound)[7] = -12.5f;
  (*scene.Sound)[9] = -30.0f;
  const TSegmentActivity activity = Of(scene);
  ASSERT_EQ(activity.Slices.size(), 3u);
  const TActivitySlice& first = activity.Slices[0];
  EXPECT_EQ(first.ChangedPixels, 48 + 1) << "the first picture and one pixel";
  EXPECT_EQ(first.ChangedArea, (TkoRect{0, 0, 8, 6}));
  EXPECT_DOUBLE_EQ(first.PointerTravel, 2.0);
  EXPECT_FLOAT_EQ(first.SoundDb, -12.5f) << "the loudest window";
  EXPECT_EQ(activity.Slices[1].ChangedPixels, 1);
  EXPECT_EQ(activity.Slices[1].ChangedArea, (TkoRect{6, 2, 7, 3})) << "frame 14 flips (6, 2)";
  EXPECT_DOUBLE_EQ(activity.Slices[1].PointerTravel, 0.0);
  EXPECT_FLOAT_EQ(activity.Slices[1].SoundDb, -60.0f);
  EXPECT_DOUBLE_EQ(activity.Slices[2].From, 2.0);
  EXPECT_DOUBLE_EQ(activity.Slices[2].To, 2.5);
  EXPECT_TRUE(activity.Slices[2].ChangedArea.IsEmpty());

  TActivitySettings idle;
  idle.IdleMilliseconds = 1000;
  const TSegmentActivity marked = Of(scene, idle);
  EXPECT_EQ(Stretches(marked), "1.400-2.500");
  EXPECT_FALSE(marked.Slices[1].Idle) << "only partly idle";
  EXPECT_TRUE(marked.Slices[2].Idle);
}

TEST_F(Activity, ACancelledRunFindsNothingAndSaysSo) {
  ASSERT_TRUE(LoadFromStart(BuildFilm({SpecOf(Scene{})})));
  TActivityInput input;
  std::atomic<bool> cancel{true};
  EXPECT_EQ(ReadActivityInput(TActivitySource::Of(*list.Get(0), 0), input, &cancel), "cancelled");
  ASSERT_EQ(ReadActivityInput(TActivitySource::Of(*list.Get(0), 0), input), "");
  const TSegmentActivity cancelled = ComputeActivity(input, {}, &cancel);
  EXPECT_FALSE(cancelled.Complete);
  EXPECT_TRUE(cancelled.Idle.empty());
  cancel = false;
  const TSegmentActivity done = ComputeActivity(input, {}, &cancel);
  EXPECT_TRUE(done.Complete);
  EXPECT_EQ(Stretches(done), "0.000-6.000") << "nothing at all after the first picture";
}
