// What a system decoder is told of an MP3 stream: rate, channels, bit rate and frame
// length from the first Layer III header, behind an ID3v2 tag; nothing for other data.
#include "playback/mp3_format.h"

#include <gtest/gtest.h>

#include <vector>

#include "writer/mp3_silence.h"

TEST(Mp3Format, TheFirstLayer3HeaderTellsTheFormat) {
  const filmwriter::Bytes silence = filmwriter::SilentMp3(100);
  const auto written = ReadMp3Format(silence.data(), silence.size());
  ASSERT_TRUE(written);
  EXPECT_EQ(*written, (TMp3Format{48000, 1, 128000, 384, 1152, 0}));

  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    std::optional<TMp3Format> format;
  } cases[] = {
      // MPEG 1, 128 kbit/s, 44.1 kHz, joint stereo: 417 bytes and a padding byte.
      {"44.1 kHz stereo", {0xFF, 0xFB, 0x92, 0x40}, TMp3Format{44100, 2, 128000, 417, 1152, 0}},
      {"32 kHz, 320 kbit/s", {0xFF, 0xFB, 0xE8, 0xC0}, TMp3Format{32000, 1, 320000, 1440, 1152, 0}},
      // MPEG 2 at 22.05 kHz and MPEG 2.5 at 8 kHz, 576 samples a frame.
      {"MPEG 2", {0xFF, 0xF3, 0x80, 0xC0}, TMp3Format{22050, 1, 64000, 208, 576, 0}},
      {"MPEG 2.5", {0xFF, 0xE3, 0x18, 0x00}, TMp3Format{8000, 2, 8000, 72, 576, 0}},
      {"behind an ID3v2 tag of 3 bytes", {'I', 'D', '3', 4, 0, 0, 0, 0, 0, 3, 1, 2, 3, 0xFF, 0xFB, 0x92, 0x40},
       TMp3Format{44100, 2, 128000, 417, 1152, 13}},
      {"a tag with a footer", {'I', 'D', '3', 4, 0, 0x10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFB, 0x92, 0x40},
       TMp3Format{44100, 2, 128000, 417, 1152, 20}},
      {"layer II", {0xFF, 0xFD, 0x92, 0x40}, std::nullopt},
      {"free format", {0xFF, 0xFB, 0x02, 0x40}, std::nullopt},
      {"a bad bit rate", {0xFF, 0xFB, 0xF2, 0x40}, std::nullopt},
      {"a reserved rate", {0xFF, 0xFB, 0x9C, 0x40}, std::nullopt},
      {"a reserved version", {0xFF, 0xEB, 0x92, 0x40}, std::nullopt},
      {"no sync", {0xFE, 0xFB, 0x92, 0x40}, std::nullopt},
      {"a header cut short", {0xFF, 0xFB, 0x92}, std::nullopt},
      {"a tag longer than the data", {'I', 'D', '3', 4, 0, 0, 0, 0, 1, 0, 0xFF, 0xFB, 0x92, 0x40}, std::nullopt},
      {"nothing", {}, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadMp3Format(c.bytes.data(), c.bytes.size()), c.format) << c.name;
  EXPECT_FALSE(ReadMp3Format(nullptr, 4));
}
