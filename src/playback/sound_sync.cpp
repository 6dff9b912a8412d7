#include "playback/sound_sync.h"

#include <algorithm>

#include "film/round_half_even.h"

uint32_t ResyncSamplePosition(uint32_t lengthSamples, int32_t currentFrame, int32_t frameCount) {
  if (frameCount == 0) return 0;
  const double position = lengthSamples * (static_cast<double>(currentFrame) / frameCount);
  return static_cast<uint32_t>(std::clamp<int64_t>(RoundHalfEven(position), 0, lengthSamples));
}
