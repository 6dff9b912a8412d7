#pragma once
// Arithmetic between the picture and the sound device: where the sound is sought when
// the clock starts.
#include <cstdint>

// The sample to seek to for currentFrame of a segment of frameCount frames whose sound
// lasts lengthSamples: Round(length x current / count), halves to even, or 0 for a
// segment without frames. A frame before the first gives 0, one past the last the
// length.
uint32_t ResyncSamplePosition(uint32_t lengthSamples, int32_t currentFrame, int32_t frameCount);
