#include "playback/clock_timing.h"

#include <algorithm>
#include <array>

#include "film/round_half_even.h"

namespace {

constexpr std::array<double, kSpeedPositionCount> kSpeedFactors = {0.1, 0.25, 0.5, 1, 2, 3, 5, 10, 1000};
constexpr int32_t kPeriodWithoutRate = 100;

}  // namespace

int32_t ClampSpeedPosition(int32_t position) { return std::clamp(position, 0, kSpeedPositionCount - 1); }

double SpeedFactor(int32_t position) { return kSpeedFactors[ClampSpeedPosition(position)]; }

int32_t ComputePeriod(uint8_t framesPerSecond, int32_t samplesPerFrame, int32_t speedPosition) {
  if (framesPerSecond == 0) return kPeriodWithoutRate;
  const int32_t samples = std::max(samplesPerFrame, 1);
  int64_t period = RoundHalfEven(1000.0 / framesPerSecond / samples);
  const double factor = SpeedFactor(speedPosition);
  if (factor > 0) period = RoundHalfEven(static_cast<double>(period) / factor);
  return static_cast<int32_t>(std::max<int64_t>(period, 1));
}

TDelayCorrection CorrectDelay(int32_t period, uint8_t framesPerSecond, int32_t samplesPerFrame,
                              int64_t soundPositionMs, int32_t currentFrame) {
  TDelayCorrection result;
  result.Delay = std::max(period, 1);
  if (framesPerSecond == 0) return result;
  const int32_t samples = std::max(samplesPerFrame, 1);
  const int64_t frameMs = RoundHalfEven(1000.0 / framesPerSecond);
  const int64_t subPeriod = RoundHalfEven(static_cast<double>(frameMs) / samples);
  const int64_t drift = soundPositionMs - static_cast<int64_t>(currentFrame) * frameMs;
  result.Lag = drift > frameMs;
  const int64_t cut = std::clamp<int64_t>(RoundHalfEven(static_cast<double>(drift) / samples), 0, subPeriod / 3);
  result.Cut = static_cast<int32_t>(cut);
  result.Delay = static_cast<int32_t>(std::max<int64_t>(period - cut, 1));
  return result;
}
