// The sound levels the activity model takes: RMS in dBFS per window of the loudest
// channel, windows overlapping, as every player's decoder feeds them.
#include "playback/sound_levels.h"

#include "playback/activity_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {
// A sine of peak amplitude (1.0 full scale) at 1 kHz, channels alike.
std::vector<float> Sine(double amplitude, int rate, int frames, int channels = 1) {
  std::vector<float> samples;
  for (int i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c)
      samples.push_back(float(amplitude * std::sin(2 * std::numbers::pi * 1000.0 * i / rate)));
  return samples;
}
}  // namespace

TEST(ActivitySound, LevelsAreTheRmsOfEachWindowInDbfs) {
  TSoundLevelMeter meter(48000, 1, 100, 100);
  const std::vector<float> full = Sine(1.0, 48000, 4800);
  const std::vector<float> floor = Sine(std::pow(10.0, -45 / 20.0) * std::sqrt(2.0), 48000, 4800);
  meter.Add(full.data(), 4800);
  meter.Add(floor.data(), 4800);
  const std::vector<float> square(4800, -0.5f);
  meter.Add(square.data(), 4800);
  const TSoundLevels levels = meter.Finish();
  ASSERT_EQ(levels.Db.size(), 3u);
  EXPECT_EQ(levels.WindowMilliseconds, 100);
  EXPECT_NEAR(levels.Db[0], -3.0103, 0.001) << "a full-scale sine";
  EXPECT_NEAR(levels.Db[1], -45.0, 0.001);
  EXPECT_NEAR(levels.Db[2], -6.0206, 0.001) << "a constant half";
}

TEST(ActivitySound, WindowsFollowTheSoundsClockWhateverTheChunks) {
  // 11,025 samples a second do not make whole 100 ms windows: they end at samples
  // 1,102, 2,205, 3,307, ... The 0.35 s given in uneven pieces make three full windows
  // and half of one.
  TSoundLevelMeter meter(11025, 2, 100, 100);
  std::vector<float> samples(size_t(3859) * 2, 0.0f);
  for (size_t i = 1102 * 2; i < 2205 * 2; ++i) samples[i] = 0.25f;  // the second window only
  for (size_t at = 0, piece = 1; at < 3859; at += piece, piece = piece * 3 % 1000 + 1)
    meter.Add(samples.data() + at * 2, int64_t(std::min<size_t>(piece, 3859 - at)));
  const TSoundLevels levels = meter.Finish();
  ASSERT_EQ(levels.Db.size(), 4u);
  EXPECT_TRUE(std::isinf(levels.Db[0]) && levels.Db[0] < 0) << "digital silence";
  EXPECT_NEAR(levels.Db[1], 20 * std::log10(0.25), 1e-4) << "either channel counts";
  EXPECT_TRUE(std::isinf(levels.Db[2])) << "nothing of the second window spills into the third";
  EXPECT_TRUE(std::isinf(levels.Db[3])) << "the partly filled last window";
  EXPECT_TRUE(meter.Finish().Db.empty()) << "empty after Finish";

  TSoundLevelMeter hour(11025, 1, 100, 100);
  const std::vector<float> loud(11025, 0.5f);
  for (int second = 0; second < 60; ++second) hour.Add(loud.data(), 11025);
  EXPECT_EQ(hour.Finish().Db.size(), 600u) << "a minute: 600 windows, none left over, none lost";
}

TEST(ActivitySound, TheLoudestChannelAndAShortSoundWhereverItFallsReachTheFloor) {
  constexpr int kRate = 8000;
  // A voice at -43.5 dBFS in one channel of two; a click of 40 ms at -40 dBFS (-44 over
  // 100 ms) from 80 ms, across the 100 ms mark.
  std::vector<float> voice = Sine(std::pow(10.0, -43.5 / 20.0) * std::sqrt(2.0), kRate, kRate, 2);
  for (size_t i = 1; i < voice.size(); i += 2) voice[i] = 0;
  std::vector<float> click(kRate, 0.0f);
  std::fill(click.begin() + kRate * 80 / 1000, click.begin() + kRate * 120 / 1000, 0.01f);
  const struct {
    const char* name;
    const std::vector<float>& samples;
    int channels;
    double loudest;
  } cases[] = {
      {"the voice in one channel", voice, 2, -43.5},
      {"the click", click, 1, -40 + 10 * std::log10(0.4)},
  };
  for (const auto& c : cases) {
    TSoundLevelMeter meter(kRate, c.channels);
    meter.Add(c.samples.data(), kRate);
    const TSoundLevels levels = meter.Finish();
    EXPECT_EQ(levels.Db.size(), 40u) << c.name << ": a window every 25 ms";
    EXPECT_NEAR(*std::max_element(levels.Db.begin(), levels.Db.end()), c.loudest, 0.01) << c.name;
  }
}

TEST(ActivitySound, TenSecondsWithAClickEverySecondAreNotIdle) {
  constexpr int kRate = 8000;
  std::vector<float> clicks(size_t(kRate) * 10, 0.0f);
  for (int second = 0; second < 10; ++second)
    std::fill_n(clicks.begin() + kRate * second + kRate * 80 / 1000, kRate * 40 / 1000, 0.01f);
  TSoundLevelMeter meter(kRate, 1);
  meter.Add(clicks.data(), kRate * 10);
  TActivityInput input;
  input.FramesPerSecond = 10;
  input.Frames.resize(100);  // the picture stands still
  input.Sound = meter.Finish();
  EXPECT_TRUE(ComputeActivity(input).Idle.empty());
}
