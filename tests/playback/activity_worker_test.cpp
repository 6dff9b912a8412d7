// The film's activity measured in the background: a segment's idle stretch with no
// sound, silent sound, loud sound and sound that cannot be decoded (never idle); and the
// worker's round through a film's segments, replaced by another film's.
#include "playback/activity_worker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>

#include "film/film_load_fixture.h"

using namespace filmwriter;

namespace {
constexpr float kSilent = -std::numeric_limits<float>::infinity();

// 6 s at 10 frames per second: frames 1..9 and 50..59 change a pixel, the pointer rests,
// so 0.9 s to 5.0 s is idle.
SegmentSpec QuietMiddle() {
  SegmentSpec spec;
  spec.soundKind = filmwriter::kSoundWave;
  Picture picture = Picture::Filled(8, 6, 0x102030);
  std::vector<CursorSample> track;
  for (int k = 0; k < 60; ++k) {
    if ((k >= 1 && k <= 9) || k >= 50) picture.At(k % 8, 2) ^= 0x010000;
    spec.data.pictures.push_back(picture);
    track.push_back({0, 3, 3});
  }
  spec.data.cursorTrack = track;
  return spec;
}

TSoundLevels Levels(float db) {
  TSoundLevels levels;
  levels.Db.assign(6000 / levels.StepMilliseconds, db);
  return levels;
}

class ActivityWorker : public FilmLoad {
protected:
  TActivityJob Job(int32_t index, const char* mp3 = "") {
    return {TActivitySource::Of(*list.Get(index), index), mp3, 48};
  }
};
}  // namespace

TEST_F(ActivityWorker, SoundThatCannotBeDecodedLeavesNoIdleStretch) {
  ASSERT_TRUE(LoadFromStart(BuildFilm({QuietMiddle()})));
  const struct {
    const char* name;
    const char* mp3;
    std::optional<TSoundLevels> decoded;
    size_t stretches;
    bool unknown;
  } cases[] = {
      {"no sound", "", std::nullopt, 1, false},
      {"silent sound", "s.mp3", Levels(kSilent), 1, false},
      {"loud sound", "s.mp3", Levels(-20.0f), 0, false},
      {"sound not decoded", "s.mp3", std::nullopt, 0, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    int decoded = 0;
    const TActivityResult result = MeasureActivity(Job(0, c.mp3), {}, [&](const std::filesystem::path& path) {
      EXPECT_EQ(path, "s.mp3");
      ++decoded;
      return c.decoded;
    });
    EXPECT_EQ(decoded, c.mp3[0] != 0 ? 1 : 0);
    EXPECT_EQ(result.SoundUnknown, c.unknown);
    EXPECT_EQ(result.ScreenPixels, 48);
    EXPECT_EQ(result.Activity.Slices.size(), 6u) << "the strip still shows the pictures";
    ASSERT_EQ(result.Activity.Idle.size(), c.stretches);
    for (const TActivitySlice& slice : result.Activity.Slices) EXPECT_TRUE(!slice.Idle || c.stretches > 0);
    if (c.stretches == 0) continue;
    EXPECT_NEAR(result.Activity.Idle[0].From, 0.9, 1e-9);
    EXPECT_NEAR(result.Activity.Idle[0].To, 5.0, 1e-9);
  }
}

// Every segment is done in order and announced; a new set of jobs drops the old set's
// results, and an empty one stops the work.
TEST_F(ActivityWorker, WorksThroughTheSegmentsAndStartsAnewForAnotherFilm) {
  ASSERT_TRUE(LoadFromStart(BuildFilm({QuietMiddle(), QuietMiddle(), QuietMiddle()})));
  std::mutex lock;
  std::condition_variable told;
  int ready = 0;
  TActivityWorker worker([](const std::filesystem::path&) { return Levels(kSilent); },
                         [&] {
                           const std::lock_guard guard(lock);
                           ++ready;
                           told.notify_all();
                         },
                         0);
  const auto waitFor = [&](int count) {
    std::unique_lock guard(lock);
    return told.wait_for(guard, std::chrono::seconds(10), [&] { return ready >= count; });
  };
  worker.Start({Job(0), Job(1, "s.mp3"), Job(2)}, {});
  ASSERT_TRUE(waitFor(3));
  std::vector<TActivityResult> results = worker.Take();
  ASSERT_EQ(results.size(), 3u);
  for (int32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(results[size_t(i)].Activity.Segment, i);
    EXPECT_EQ(results[size_t(i)].Activity.Idle.size(), 1u);
  }
  EXPECT_TRUE(worker.Take().empty()) << "taken once";

  // A longer idle length: the 4.1 s stretch is no longer idle.
  TActivitySettings settings;
  settings.IdleMilliseconds = 5000;
  worker.Start({Job(2)}, settings);
  ASSERT_TRUE(waitFor(4));
  results = worker.Take();
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0].Activity.Segment, 2);
  EXPECT_TRUE(results[0].Activity.Idle.empty());

  worker.Start({Job(0), Job(1), Job(2)}, {});
  worker.Start({}, {});
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_TRUE(worker.Take().empty()) << "the film before is dropped";
}
