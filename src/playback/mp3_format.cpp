#include "playback/mp3_format.h"

namespace {
constexpr size_t kId3HeaderBytes = 10;

// Layer III bit rates in kbit/s, [MPEG 1 ? 0 : 1][index]; index 0 is free format.
constexpr int16_t kLayer3BitRates[2][16] = {
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}};
constexpr int32_t kMpeg1Rates[3] = {44100, 48000, 32000};

// Behind an ID3v2 tag: its size is four 7-bit bytes, plus a footer when flagged.
size_t SkipId3(const uint8_t* data, size_t size) {
  if (size < kId3HeaderBytes || data[0] != 'I' || data[1] != 'D' || data[2] != '3') return 0;
  size_t tag = 0;
  for (int i = 6; i < 10; ++i) tag = tag << 7 | (data[i] & 0x7F);
  return tag + kId3HeaderBytes + ((data[5] & 0x10) != 0 ? kId3HeaderBytes : 0);
}
}  // namespace

std::optional<TMp3Format> ReadMp3Format(const uint8_t* data, size_t size) {
  if (data == nullptr) return std::nullopt;
  const size_t at = SkipId3(data, size);
  if (at >= size || size - at < 4) return std::nullopt;
  const uint8_t* p = data + at;
  if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return std::nullopt;
  const int version = (p[1] >> 3) & 3;  // 0: 2.5, 1: reserved, 2: 2, 3: 1
  const int layerBits = (p[1] >> 1) & 3;  // 1: layer III
  const int rateIndex = (p[2] >> 2) & 3;
  if (version == 1 || layerBits != 1 || rateIndex == 3) return std::nullopt;
  const bool mpeg1 = version == 3;
  TMp3Format format;
  format.BitRate = kLayer3BitRates[mpeg1 ? 0 : 1][p[2] >> 4] * 1000;
  if (format.BitRate == 0) return std::nullopt;
  format.SampleRate = kMpeg1Rates[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
  format.Channels = (p[3] >> 6) == 3 ? 1 : 2;
  format.FrameSamples = mpeg1 ? 1152 : 576;
  format.FrameBytes = format.FrameSamples / 8 * format.BitRate / format.SampleRate;
  format.AudioStart = at;
  return format;
}
