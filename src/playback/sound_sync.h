#pragma once
// Arithmetic between the picture and the sound device: where the sound is sought when
// the clock starts, and the volume as the panel shows and sets it.
#include <cstdint>

// The device's volume scale.
constexpr uint32_t kDeviceVolumeMax = 1000;

// The sample to seek to for currentFrame of a segment of frameCount frames whose sound
// lasts lengthSamples: Round(length x current / count), halves to even, or 0 for a
// segment without frames. A frame before the first gives 0, one past the last the
// length.
uint32_t ResyncSamplePosition(uint32_t lengthSamples, int32_t currentFrame, int32_t frameCount);

// The panel's volume percentage for a device volume of 0..1000, truncated; 100 when
// the player has no sound file. Worked in integers, so that a volume set from a whole
// percentage reads back as the same percentage.
int32_t VolumePercentFromDevice(uint32_t deviceVolume, bool hasFileName);

// The device volume for a percentage: limited to 0..100 (anything below 0 counts as
// 0), then the whole part of percent x 1000 / 100.
uint32_t DeviceVolumeFromPercent(int32_t percent);
