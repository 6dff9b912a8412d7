#include "playback/mp3_format.h"

namespace {
constexpr size_t kId3HeaderBytes = 10;

// Bit rates in kbit/s by [MPEG 1 ? 0 : 1][layer - 1][index]; index 0 is free format.
constexpr int16_t kBitRates[2][3][16] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}}};
constexpr int32_t kMpeg1Rates[3] = {44100, 48000, 32000};

int32_t UnpaddedBytes(const TMp3FrameHeader& h) {
  if (h.Layer == 1) return 12 * h.BitRate / h.SampleRate * 4;
  return h.Samples / 8 * h.BitRate / h.SampleRate;
}
}  // namespace

std::optional<TMp3FrameHeader> ReadMp3FrameHeader(const uint8_t* p) {
  if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return std::nullopt;
  const int version = (p[1] >> 3) & 3;  // 0: 2.5, 1: reserved, 2: 2, 3: 1
  const int layer = 4 - ((p[1] >> 1) & 3);
  const int rateIndex = (p[2] >> 2) & 3;
  if (version == 1 || layer == 4 || rateIndex == 3) return std::nullopt;
  const bool mpeg1 = version == 3;
  TMp3FrameHeader h;
  h.Layer = layer;
  h.BitRate = kBitRates[mpeg1 ? 0 : 1][layer - 1][p[2] >> 4] * 1000;
  if (h.BitRate == 0) return std::nullopt;
  h.SampleRate = kMpeg1Rates[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
  h.Channels = (p[3] >> 6) == 3 ? 1 : 2;
  h.Samples = layer == 1 ? 384 : layer == 3 && !mpeg1 ? 576 : 1152;
  const int32_t padding = (p[2] >> 1) & 1;
  h.PaddedBytes = UnpaddedBytes(h) + padding * (layer == 1 ? 4 : 1);
  return h;
}

size_t Mp3AudioStart(const uint8_t* data, size_t size) {
  if (size < kId3HeaderBytes || data[0] != 'I' || data[1] != 'D' || data[2] != '3') return 0;
  size_t tag = 0;
  for (int i = 6; i < 10; ++i) tag = tag << 7 | (data[i] & 0x7F);
  tag += kId3HeaderBytes + ((data[5] & 0x10) != 0 ? kId3HeaderBytes : 0);
  return tag < size ? tag : size;
}

std::optional<TMp3Format> ReadMp3Format(const uint8_t* data, size_t size) {
  if (data == nullptr) return std::nullopt;
  const size_t at = Mp3AudioStart(data, size);
  if (size - at < 4) return std::nullopt;
  const std::optional<TMp3FrameHeader> h = ReadMp3FrameHeader(data + at);
  if (!h || h->Layer != 3) return std::nullopt;
  return TMp3Format{h->SampleRate, h->Channels, h->BitRate, UnpaddedBytes(*h), h->Samples, at};
}
