#include "web/mp3_length.h"

namespace {
constexpr size_t kHeaderBytes = 4;
constexpr size_t kId3HeaderBytes = 10;

struct TFrameHeader {
  int32_t SampleRate = 0;
  int32_t Samples = 0;
  size_t Bytes = 0;
};

// Bit rates in kbit/s by [MPEG 1 ? 0 : 1][layer - 1][index]; index 0 is free format.
constexpr int16_t kBitRates[2][3][16] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}}};
constexpr int32_t kMpeg1Rates[3] = {44100, 48000, 32000};

std::optional<TFrameHeader> ParseHeader(const uint8_t* p) {
  if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return std::nullopt;
  const int version = (p[1] >> 3) & 3;  // 0: 2.5, 2: 2, 3: 1
  const int layer = 4 - ((p[1] >> 1) & 3);
  const int rateIndex = (p[2] >> 2) & 3;
  const int bitRateIndex = p[2] >> 4;
  if (version == 1 || layer == 4 || rateIndex == 3) return std::nullopt;
  const bool mpeg1 = version == 3;
  const int32_t bitRate = kBitRates[mpeg1 ? 0 : 1][layer - 1][bitRateIndex] * 1000;
  if (bitRate == 0) return std::nullopt;
  const int32_t rate = kMpeg1Rates[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
  const size_t padding = (p[2] >> 1) & 1;
  TFrameHeader header;
  header.SampleRate = rate;
  if (layer == 1) {
    header.Samples = 384;
    header.Bytes = (size_t(12 * bitRate / rate) + padding) * 4;
  } else {
    header.Samples = layer == 3 && !mpeg1 ? 576 : 1152;
    header.Bytes = size_t(header.Samples / 8 * bitRate / rate) + padding;
  }
  return header;
}

// Where the audio starts: behind an ID3v2 tag (its size is four 7-bit bytes, plus a
// footer of 10 bytes when flagged).
size_t AudioStart(const uint8_t* data, size_t size) {
  if (size < kId3HeaderBytes || data[0] != 'I' || data[1] != 'D' || data[2] != '3') return 0;
  size_t tag = 0;
  for (int i = 6; i < 10; ++i) tag = tag << 7 | (data[i] & 0x7F);
  tag += kId3HeaderBytes + ((data[5] & 0x10) != 0 ? kId3HeaderBytes : 0);
  return tag < size ? tag : size;
}
}  // namespace

std::optional<TMp3Length> ReadMp3Length(const uint8_t* data, size_t size) {
  if (data == nullptr) return std::nullopt;
  size_t at = AudioStart(data, size);
  TMp3Length length;
  while (size - at >= kHeaderBytes) {
    const std::optional<TFrameHeader> frame = ParseHeader(data + at);
    if (!frame) break;
    if (length.SampleRate != 0 && frame->SampleRate != length.SampleRate) return std::nullopt;
    length.SampleRate = frame->SampleRate;
    length.Samples += frame->Samples;
    if (frame->Bytes >= size - at) break;
    at += frame->Bytes;
  }
  if (length.SampleRate == 0) return std::nullopt;
  return length;
}
