#pragma once
// Where the page's sound is, as the engine asks for it. The sound plays on the page's
// thread (Web Audio), the engine runs in a worker and must know the position at once:
// the page says when a requested start has actually begun to sound and from which
// position, and the clock carries that mapping forward. Until the page has answered,
// the sound stands where it was asked to start (nothing is heard yet); a report for an
// older request (the sound was paused or sought meanwhile) is dropped. Times are in
// milliseconds of one monotonic clock (the worker's).
#include <cstdint>

class TSoundClock {
public:
  // The sound is asked to play from positionMs; returns the request's number, which
  // the page sends back with its report.
  uint32_t Play(double positionMs);
  // Stops where the sound is at nowMs; earlier requests become stale.
  void Pause(double nowMs);
  // Stands at positionMs, paused.
  void Seek(double positionMs);
  // The page: the sound of request `request` was at positionMs at atMs. Ignored unless
  // it answers the latest request and the sound is still meant to play.
  void Started(uint32_t request, double positionMs, double atMs);

  // The position at nowMs, never below 0 nor beyond the length (when one is set).
  double Position(double nowMs) const;
  bool Playing() const { return FPlaying; }
  bool Sounding() const { return FSounding; }
  // 0: not known.
  void SetLength(double milliseconds) { FLength = milliseconds; }
  // Another sound: standing at 0, its length not known. The requests go on counting, so
  // that a report for the sound before is stale.
  void Reset();

private:
  double Clamp(double position) const;

  double FPosition = 0;  // at FAt while sounding, else where it stands
  double FAt = 0;
  double FLength = 0;
  uint32_t FRequest = 0;
  bool FPlaying = false;   // asked to play
  bool FSounding = false;  // and the page said it started
};
