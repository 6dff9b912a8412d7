#include "playback/sound_levels.h"

#include <algorithm>
#include <cmath>
#include <limits>

float RmsDb(double sumOfSquares, int64_t values) {
  if (values <= 0 || !(sumOfSquares > 0)) return -std::numeric_limits<float>::infinity();
  // 10 log10 of the mean square is 20 log10 of its root, without the root.
  return static_cast<float>(10.0 * std::log10(sumOfSquares / double(values)));
}

TSoundLevelMeter::TSoundLevelMeter(int32_t sampleRate, int32_t channels, int32_t windowMilliseconds)
    : FRate(std::max(sampleRate, 1)), FChannels(std::max(channels, 1)) {
  FLevels.WindowMilliseconds = std::max(windowMilliseconds, 1);
}

int64_t TSoundLevelMeter::WindowEnd() const {
  const int64_t windows = static_cast<int64_t>(FLevels.Db.size()) + 1;
  const int64_t end = windows * FLevels.WindowMilliseconds * FRate / 1000;
  return std::max(end, FFramesSeen - FFramesInWindow + 1);  // at least one sample
}

void TSoundLevelMeter::Add(const float* samples, int64_t frames) {
  while (frames > 0) {
    const int64_t end = WindowEnd();
    const int64_t take = std::min(frames, end - FFramesSeen);
    const float* last = samples + take * FChannels;
    double sum = 0;
    for (const float* s = samples; s != last; ++s) sum += double(*s) * double(*s);
    FSumOfSquares += sum;
    FFramesInWindow += take;
    FFramesSeen += take;
    samples = last;
    frames -= take;
    if (FFramesSeen == end) CloseWindow();
  }
}

void TSoundLevelMeter::CloseWindow() {
  FLevels.Db.push_back(RmsDb(FSumOfSquares, FFramesInWindow * FChannels));
  FSumOfSquares = 0;
  FFramesInWindow = 0;
}

TSoundLevels TSoundLevelMeter::Finish() {
  if (FFramesInWindow > 0) CloseWindow();
  TSoundLevels levels = std::move(FLevels);
  FLevels = {};
  FLevels.WindowMilliseconds = levels.WindowMilliseconds;
  FFramesSeen = 0;
  return levels;
}
