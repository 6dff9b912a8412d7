#pragma once
// Timing arithmetic of the playback clock: the speed table, the tick period and the
// correction of the next delay when the sound runs ahead of the picture.
#include <cstdint>

// Speed slider positions 0..8; position 3 plays at the recorded rate, and only there
// is the sound heard.
constexpr int32_t kSpeedPositionCount = 9;
constexpr int32_t kNormalSpeedPosition = 3;

// The speed factor of a slider position: 0.1, 0.25, 0.5, 1, 2, 3, 5, 10, 1000.
// Positions outside 0..8 are clamped to the nearest end.
double SpeedFactor(int32_t position);

// Clamps a slider position into 0..8.
int32_t ClampSpeedPosition(int32_t position);

// The tick period in ms for a segment of framesPerSecond frames per second and
// samplesPerFrame cursor samples per frame (1 or 3) at a slider position:
// Round(1000 / F / S), then Round(P / factor), at least 1. A rate of 0 gives 100.
// samplesPerFrame below 1 counts as 1.
int32_t ComputePeriod(uint8_t framesPerSecond, int32_t samplesPerFrame, int32_t speedPosition);

// The next timer delay after comparing the sound's position with the picture.
struct TDelayCorrection {
  int32_t Delay = 0;  // ms, at least 1
  int32_t Cut = 0;    // ms taken off the period, 0 .. a third of the sub-period
  bool Lag = false;   // the picture trails the sound by more than one frame
};

// period: the tick period; soundPositionMs: where the sound is; currentFrame: the
// frame last loaded. The sound's lead over the picture shortens the delay by
// Round(lead / S), limited to Round(Round(1000 / F) / S) div 3; a sound behind the
// picture changes nothing. A rate of 0 returns the period unchanged.
TDelayCorrection CorrectDelay(int32_t period, uint8_t framesPerSecond, int32_t samplesPerFrame,
                              int64_t soundPositionMs, int32_t currentFrame);
