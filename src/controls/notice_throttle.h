#pragma once
// Lets notices of a value that changes all the time (the bar's position while a film
// plays) through at most once a period, so that a screen reader is not flooded.
#include <cstdint>

class TNoticeThrottle {
public:
  explicit TNoticeThrottle(uint64_t periodMs) : FPeriodMs(periodMs) {}

  // True, and the period starts, for the first notice and for one a whole period after
  // the last one let through; false in between.
  bool Allow(uint64_t nowMs);
  // A notice went out without asking (the user changed the value): the period starts.
  void Sent(uint64_t nowMs);

private:
  uint64_t FPeriodMs;
  bool FAny = false;
  uint64_t FLastMs = 0;
};
