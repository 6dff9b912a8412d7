#pragma once
// A valid MP3 stream of silence for films that need a sound track: MPEG-1 Layer III,
// 48 kHz, mono, 128 kbit/s, no CRC. At 48 kHz and 128 kbit/s a frame is exactly
// 144 x 128000 / 48000 = 384 bytes with no padding, and carries 1152 samples = 24 ms,
// so the stream's length is exact in bytes, samples and milliseconds. Every frame has
// zero side information and zero main data: no spectral values, which decodes to
// silence.
#include <cstdint>

#include "writer/film_bytes.h"

namespace filmwriter {

constexpr int32_t kMp3SampleRate = 48000;
constexpr int32_t kMp3BitRate = 128000;
constexpr int32_t kMp3SamplesPerFrame = 1152;
constexpr int32_t kMp3FrameBytes = 384;
constexpr int32_t kMp3FrameMilliseconds = kMp3SamplesPerFrame * 1000 / kMp3SampleRate;

// The frames a silent stream of at least durationMs needs: rounded up, at least one
// (a stream without frames is no MP3).
int32_t SilentMp3FrameCount(uint32_t durationMs);

// SilentMp3FrameCount(durationMs) frames of silence. The stream lasts that count x 24
// ms, count x 1152 samples, and is count x 384 bytes long.
Bytes SilentMp3(uint32_t durationMs);

}  // namespace filmwriter
