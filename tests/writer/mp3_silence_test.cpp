// The silent MP3 stream: whole frames covering the duration, each header decoded from
// the MPEG-1 Layer III tables, so the stream's length is exact.
#include "writer/mp3_silence.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace filmwriter;

TEST(Mp3Silence, WholeFramesCoverTheDuration) {
  for (const auto& [ms, frames] : {std::pair{0u, 1}, {1u, 1}, {24u, 1}, {25u, 2}, {1000u, 42}, {6000u, 250}}) {
    EXPECT_EQ(SilentMp3FrameCount(ms), frames) << ms;
    EXPECT_EQ(SilentMp3(ms).size(), size_t(frames) * 384) << ms;
  }
}

TEST(Mp3Silence, EveryFrameIsASilentMpeg1LayerIIIFrameWhoseLengthTheHeaderGives) {
  static const int kBitRates[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
  static const int kSampleRates[4] = {44100, 48000, 32000, 0};
  const Bytes stream = SilentMp3(100);
  for (size_t at = 0; at < stream.size(); at += kMp3FrameBytes) {
    const uint8_t* h = &stream[at];
    ASSERT_EQ(h[0] << 3 | h[1] >> 5, 0x7FF) << "frame sync at " << at;
    EXPECT_EQ(h[1] & 0x1F, 0x1B) << "MPEG-1, Layer III, no CRC";
    EXPECT_EQ(h[3] >> 6, 3) << "mono: 17 bytes of side information";
    const int bitRate = kBitRates[h[2] >> 4] * 1000, sampleRate = kSampleRates[(h[2] >> 2) & 3];
    EXPECT_EQ(144 * bitRate / sampleRate + ((h[2] >> 1) & 1), kMp3FrameBytes) << "the next header sits there";
    EXPECT_EQ(1152 * 1000 / sampleRate, kMp3FrameMilliseconds);
    EXPECT_TRUE(std::all_of(h + 4, h + kMp3FrameBytes, [](uint8_t b) { return b == 0; })) << "silence";
  }
}
