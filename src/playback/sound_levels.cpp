#include "playback/sound_levels.h"

#include <algorithm>
#include <cmath>
#include <limits>

float RmsDb(double sumOfSquares, int64_t values) {
  if (values <= 0 || !(sumOfSquares > 0)) return -std::numeric_limits<float>::infinity();
  // 10 log10 of the mean square is 20 log10 of its root, without the root.
  return static_cast<float>(10.0 * std::log10(sumOfSquares / double(values)));
}

namespace {
// One channel's count values, stride apart, in four sums: each addition waits for the
// one before it in its own sum only, so the four run side by side.
double SumOfSquares(const float* values, int64_t count, int32_t stride) {
  double sums[4] = {};
  int64_t i = 0;
  for (; i + 4 <= count; i += 4)
    for (int64_t k = 0; k < 4; ++k) {
      const double value = values[(i + k) * stride];
      sums[k] += value * value;
    }
  for (; i < count; ++i) {
    const double value = values[i * stride];
    sums[0] += value * value;
  }
  return (sums[0] + sums[1]) + (sums[2] + sums[3]);
}
}  // namespace

TSoundLevelMeter::TSoundLevelMeter(int32_t sampleRate, int32_t channels, int32_t windowMilliseconds,
                                   int32_t stepMilliseconds)
    : FRate(std::max(sampleRate, 1)), FChannels(std::max(channels, 1)) {
  FLevels.StepMilliseconds = std::max(stepMilliseconds, 1);
  FStepsPerWindow = static_cast<size_t>(std::max(windowMilliseconds / FLevels.StepMilliseconds, 1));
  FLevels.WindowMilliseconds = static_cast<int32_t>(FStepsPerWindow) * FLevels.StepMilliseconds;
  FStep.Squares.assign(static_cast<size_t>(FChannels), 0.0);
}

int64_t TSoundLevelMeter::StepEnd() const {
  const int64_t end = (FStepsClosed + 1) * FLevels.StepMilliseconds * FRate / 1000;
  return std::max(end, FFramesSeen - FStep.Frames + 1);  // at least one sample
}

void TSoundLevelMeter::Add(const float* samples, int64_t frames) {
  while (frames > 0) {
    const int64_t end = StepEnd();
    const int64_t take = std::min(frames, end - FFramesSeen);
    for (int32_t c = 0; c < FChannels; ++c) FStep.Squares[size_t(c)] += SumOfSquares(samples + c, take, FChannels);
    samples += take * FChannels;
    FStep.Frames += take;
    FFramesSeen += take;
    frames -= take;
    if (FFramesSeen == end) CloseStep();
  }
}

void TSoundLevelMeter::CloseStep() {
  FRecent.push_back(FStep);
  ++FStepsClosed;
  std::fill(FStep.Squares.begin(), FStep.Squares.end(), 0.0);
  FStep.Frames = 0;
  if (FRecent.size() == FStepsPerWindow) AddWindow();
}

// The window of the steps held, which starts with the first of them.
void TSoundLevelMeter::AddWindow() {
  float loudest = -std::numeric_limits<float>::infinity();
  for (size_t c = 0; c < size_t(FChannels); ++c) {
    double squares = 0;
    int64_t frames = 0;
    for (const TStep& step : FRecent) {
      squares += step.Squares[c];
      frames += step.Frames;
    }
    loudest = std::max(loudest, RmsDb(squares, frames));
  }
  FLevels.Db.push_back(loudest);
  FRecent.pop_front();
}

TSoundLevels TSoundLevelMeter::Finish() {
  if (FStep.Frames > 0) CloseStep();
  while (!FRecent.empty()) AddWindow();
  TSoundLevels levels = std::move(FLevels);
  FLevels = {};
  FLevels.WindowMilliseconds = levels.WindowMilliseconds;
  FLevels.StepMilliseconds = levels.StepMilliseconds;
  FFramesSeen = 0;
  FStepsClosed = 0;
  return levels;
}
