#include "web/mp3_length.h"

#include "playback/mp3_format.h"

namespace {
constexpr size_t kHeaderBytes = 4;
}  // namespace

std::optional<TMp3Length> ReadMp3Length(const uint8_t* data, size_t size) {
  if (data == nullptr) return std::nullopt;
  size_t at = Mp3AudioStart(data, size);
  TMp3Length length;
  while (size - at >= kHeaderBytes) {
    const std::optional<TMp3FrameHeader> frame = ReadMp3FrameHeader(data + at);
    if (!frame) break;
    if (length.SampleRate != 0 && frame->SampleRate != length.SampleRate) return std::nullopt;
    length.SampleRate = frame->SampleRate;
    length.Samples += frame->Samples;
    if (size_t(frame->PaddedBytes) >= size - at) break;
    at += size_t(frame->PaddedBytes);
  }
  if (length.SampleRate == 0) return std::nullopt;
  return length;
}
