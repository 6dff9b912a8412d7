#include "playback/idle_skip.h"

namespace {
bool Holds(const TIdleStretch& stretch, int32_t segment, double seconds) {
  return stretch.Segment == segment && seconds >= stretch.From && seconds < stretch.To;
}

bool Same(const TIdleStretch& a, const TIdleStretch& b) {
  return a.Segment == b.Segment && a.From == b.From && a.To == b.To;
}
}  // namespace

std::optional<TIdleJump> TIdleSkipper::Due(int32_t segment, double seconds, bool playing,
                                           const std::vector<TIdleStretch>& stretches, int32_t skipSeconds) {
  if (FSkipped && !Holds(*FSkipped, segment, seconds)) FSkipped.reset();
  if (!playing || skipSeconds <= 0) return std::nullopt;
  for (const TIdleStretch& stretch : stretches) {
    if (!Holds(stretch, segment, seconds) || stretch.To - stretch.From < skipSeconds) continue;
    if (FSkipped && Same(*FSkipped, stretch)) return std::nullopt;
    const double landing = stretch.To - kIdleSkipLeadSeconds;
    // Already as close to the end as a jump would bring it.
    if (seconds >= landing) return std::nullopt;
    FSkipped = stretch;
    return TIdleJump{segment, landing, landing - seconds};
  }
  return std::nullopt;
}
