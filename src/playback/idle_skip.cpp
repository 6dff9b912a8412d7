#include "playback/idle_skip.h"

#include <cmath>

namespace {
// The model's times are whole frames where frames change; this keeps 2.9999999 from
// moving a stretch's end by a frame.
constexpr double kTolerance = 1e-6;
}  // namespace

TIdleFrames IdleFramesOf(const TIdleStretch& stretch, int32_t rate) {
  const double resume = stretch.To - kIdleKeptMilliseconds / 1000.0;
  return {static_cast<int64_t>(std::floor(stretch.From * rate + kTolerance)),
          static_cast<int64_t>(std::ceil(resume * rate - kTolerance))};
}

std::optional<TIdleJump> IdleJumpAt(const std::vector<TIdleStretch>& idle, int32_t framesPerSecond, int32_t previous,
                                    int32_t frame) {
  if (framesPerSecond < 1 || previous < 0 || frame <= previous) return std::nullopt;
  for (const TIdleStretch& stretch : idle) {
    const TIdleFrames frames = IdleFramesOf(stretch, framesPerSecond);
    if (previous < frames.First && frames.First <= frame && frame < frames.Resume) {
      const auto to = static_cast<int32_t>(frames.Resume);
      return TIdleJump{to, double(to - frame) / framesPerSecond};
    }
  }
  return std::nullopt;
}

std::vector<TIdleStretch> StretchesAtLeast(const std::vector<TIdleStretch>& idle, int32_t seconds) {
  std::vector<TIdleStretch> kept;
  for (const TIdleStretch& stretch : idle)
    if (stretch.To - stretch.From + kTolerance >= seconds) kept.push_back(stretch);
  return kept;
}
