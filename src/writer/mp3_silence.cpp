#include "writer/mp3_silence.h"

namespace filmwriter {
namespace {
// Frame header: sync (11 bits), MPEG-1 (11), Layer III (01), no CRC (1); bit rate
// index 9 (128 kbit/s), sampling index 1 (48 kHz), no padding, not private; mono (11),
// no mode extension, not copyrighted, not original, no emphasis.
constexpr uint8_t kFrameHeader[4] = {0xFF, 0xFB, 0x94, 0xC0};

static_assert(144 * kMp3BitRate % kMp3SampleRate == 0, "the frames need no padding");
static_assert(144 * kMp3BitRate / kMp3SampleRate == kMp3FrameBytes);
static_assert(kMp3SamplesPerFrame * 1000 % kMp3SampleRate == 0, "a frame lasts whole milliseconds");
}  // namespace

int32_t SilentMp3FrameCount(uint32_t durationMs) {
  const int64_t frames = (int64_t{durationMs} + kMp3FrameMilliseconds - 1) / kMp3FrameMilliseconds;
  return static_cast<int32_t>(frames < 1 ? 1 : frames);
}

Bytes SilentMp3(uint32_t durationMs) {
  const int32_t frames = SilentMp3FrameCount(durationMs);
  // Side information (17 bytes for mono) and main data stay zero.
  Bytes stream(static_cast<size_t>(frames) * kMp3FrameBytes, 0);
  for (int32_t i = 0; i < frames; ++i)
    for (int b = 0; b < 4; ++b) stream[static_cast<size_t>(i) * kMp3FrameBytes + b] = kFrameHeader[b];
  return stream;
}

}  // namespace filmwriter
