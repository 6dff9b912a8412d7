#pragma once
// The format of an MP3 stream as a system decoder must be told it before it decodes:
// read from the first frame header (behind an ID3v2 tag). Only the header is read; the
// decoding itself is the platform's (ACM on Windows, FFmpeg in kof).
#include <cstddef>
#include <cstdint>
#include <optional>

struct TMp3Format {
  int32_t SampleRate = 0;
  int32_t Channels = 0;        // 1 or 2
  int32_t BitRate = 0;         // bits per second
  int32_t FrameBytes = 0;      // a frame's length without its padding byte
  int32_t FrameSamples = 0;    // per channel: 1152, or 576 for MPEG 2 and 2.5
  size_t AudioStart = 0;       // the first frame's offset
  bool operator==(const TMp3Format&) const = default;
};

// The first frame's format; nothing when the data (behind an ID3v2 tag) does not start
// with an MPEG audio Layer III frame header of a known rate and bit rate (free format
// has none).
std::optional<TMp3Format> ReadMp3Format(const uint8_t* data, size_t size);
