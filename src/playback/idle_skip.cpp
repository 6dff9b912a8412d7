#include "playback/idle_skip.h"

#include <cmath>

namespace {
// The model's times are whole frames where frames change; this keeps 2.9999999 from
// moving a stretch's end by a frame.
constexpr double kTolerance = 1e-6;
}  // namespace

std::optional<TIdleJump> IdleJumpAt(const std::vector<TIdleStretch>& idle, int32_t framesPerSecond, int32_t previous,
                                    int32_t frame) {
  if (framesPerSecond < 1 || frame <= previous) return std::nullopt;
  for (const TIdleStretch& stretch : idle) {
    const double start = std::floor(stretch.From * framesPerSecond + kTolerance);
    const double resume = std::ceil((stretch.To - kIdleKeptMilliseconds / 1000.0) * framesPerSecond - kTolerance);
    if (start >= previous && start < frame && frame < resume) {
      const int32_t to = static_cast<int32_t>(resume);
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
