#include "web/sound_clock.h"

#include <algorithm>

uint32_t TSoundClock::Play(double positionMs) {
  FPosition = Clamp(positionMs);
  FPlaying = true;
  FSounding = false;
  return ++FRequest;
}

void TSoundClock::Pause(double nowMs) {
  FPosition = Position(nowMs);
  FPlaying = FSounding = false;
  ++FRequest;
}

void TSoundClock::Seek(double positionMs) {
  FPosition = Clamp(positionMs);
  FPlaying = FSounding = false;
  ++FRequest;
}

void TSoundClock::Reset() {
  Seek(0);
  FLength = 0;
}

void TSoundClock::Started(uint32_t request, double positionMs, double atMs) {
  if (request != FRequest || !FPlaying) return;
  FPosition = positionMs;
  FAt = atMs;
  FSounding = true;
}

double TSoundClock::Position(double nowMs) const {
  return Clamp(FSounding ? FPosition + std::max(0.0, nowMs - FAt) : FPosition);
}

double TSoundClock::Clamp(double position) const {
  position = std::max(position, 0.0);
  return FLength > 0 ? std::min(position, FLength) : position;
}
