#include "playback/activity_level.h"

#include <algorithm>

namespace {
// Something happening is never lighter than a quarter.
constexpr double kLeast = 0.25;
// A share of the screen changed, a pointer travel (pixels in a second) and a loudness
// above the floor (dB) that count as the most.
constexpr double kMostScreenShare = 0.25;
constexpr double kMostTravel = 400;
constexpr double kMostLoudness = 35;

double Scaled(double amount, double most) { return kLeast + (1 - kLeast) * std::min(1.0, amount / most); }
}  // namespace

double SliceLevel(const TActivitySlice& slice, int64_t screenPixels, const TActivitySettings& settings) {
  if (slice.Idle) return 0;
  double level = 0;
  if (slice.ChangedPixels > 0 && screenPixels > 0)
    level = Scaled(double(slice.ChangedPixels) / double(screenPixels), kMostScreenShare);
  const double seconds = std::max(1e-3, slice.To - slice.From);
  if (slice.PointerTravel > 0 || slice.ShapeChanges > 0)
    level = std::max(level, Scaled(slice.PointerTravel / seconds, kMostTravel));
  if (slice.SoundDb >= settings.SilenceFloorDb)
    level = std::max(level, Scaled(slice.SoundDb - settings.SilenceFloorDb, kMostLoudness));
  return level;
}
