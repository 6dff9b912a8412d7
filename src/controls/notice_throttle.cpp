#include "controls/notice_throttle.h"

bool TNoticeThrottle::Allow(uint64_t nowMs) {
  // A clock that went back (another tick source) lets the notice through too.
  if (FAny && nowMs >= FLastMs && nowMs - FLastMs < FPeriodMs) return false;
  Sent(nowMs);
  return true;
}

void TNoticeThrottle::Sent(uint64_t nowMs) {
  FAny = true;
  FLastMs = nowMs;
}
