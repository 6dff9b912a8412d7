#pragma once
// Skipping idle stretches while a film plays: when the position reaches an idle stretch
// of at least the skip length, playback jumps to shortly before the stretch ends, so the
// user sees the screen settle before things happen again. Each stretch is skipped once
// while the position stays in it: landing inside it is not another reason to jump.
#include <cstdint>
#include <optional>
#include <vector>

#include "playback/activity_model.h"

// The shortest and longest skip lengths a user may ask for, in seconds; 0 turns skipping
// off.
constexpr int32_t kLongestIdleSkipSeconds = 3600;
constexpr int32_t kDefaultIdleSkipSeconds = 3;
// How long before a stretch's end a skip lands.
constexpr double kIdleSkipLeadSeconds = 0.5;

struct TIdleJump {
  int32_t Segment = 0;
  double Seconds = 0;  // where to go on, from the segment's start
  double Skipped = 0;  // the seconds left out
};

class TIdleSkipper {
public:
  // The position: segment (from 0) and seconds into it; playing is whether the film
  // plays (a paused, stepped or stopped film never jumps). stretches are the segment's
  // idle stretches; skipSeconds the shortest stretch worth a jump (0: none is).
  // Returns the jump to make now, or none.
  std::optional<TIdleJump> Due(int32_t segment, double seconds, bool playing, const std::vector<TIdleStretch>& stretches,
                               int32_t skipSeconds);

private:
  // The stretch jumped over last, while the position is still inside it.
  std::optional<TIdleStretch> FSkipped;
};
