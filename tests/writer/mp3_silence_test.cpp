// The silent MP3 stream: whole frames covering the duration, so the stream's length is exact.
#include "writer/mp3_silence.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace filmwriter;

// The header itself is read by the player's MP3 reader (its format test); every frame
// carries that header and silence.
TEST(Mp3Silence, WholeFramesOfTheFirstsHeaderAndSilenceCoverTheDuration) {
  for (const auto& [ms, frames] : {std::pair{0u, 1}, {1u, 1}, {24u, 1}, {25u, 2}, {1000u, 42}, {6000u, 250}}) {
    EXPECT_EQ(SilentMp3FrameCount(ms), frames) << ms;
    EXPECT_EQ(SilentMp3(ms).size(), size_t(frames) * 384) << ms;
  }
  const Bytes stream = SilentMp3(100);
  for (size_t at = 0; at < stream.size(); at += kMp3FrameBytes) {
    EXPECT_TRUE(std::equal(stream.begin(), stream.begin() + 4, stream.begin() + long(at))) << "header at " << at;
    EXPECT_TRUE(std::all_of(stream.begin() + long(at) + 4, stream.begin() + long(at + kMp3FrameBytes),
                            [](uint8_t b) { return b == 0; }))
        << "silence at " << at;
  }
}
