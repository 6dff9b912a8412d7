#pragma once
// MPEG audio frame headers (MPEG 1, 2 and 2.5, layers I to III), read without decoding:
// what a system decoder must be told before it decodes an MP3 stream (ACM on Windows),
// and how long a stream lasts (the page answers length questions before the browser
// has decoded it). The decoding itself is the platform's.
#include <cstddef>
#include <cstdint>
#include <optional>

struct TMp3FrameHeader {
  int32_t Layer = 0;         // 1 to 3
  int32_t SampleRate = 0;
  int32_t Channels = 0;      // 1 or 2
  int32_t BitRate = 0;       // bits per second
  int32_t Samples = 0;       // per channel: 384, 1152, or 576 for layer III of MPEG 2 and 2.5
  int32_t PaddedBytes = 0;   // the frame's length with its padding
};

// The header of the four bytes at p; nothing for a reserved version, layer or rate, and
// for free format (no bit rate).
std::optional<TMp3FrameHeader> ReadMp3FrameHeader(const uint8_t* p);

// Where the frames start: behind an ID3v2 tag (its size is four 7-bit bytes, plus a
// footer of 10 bytes when flagged), at most size.
size_t Mp3AudioStart(const uint8_t* data, size_t size);

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
// with a Layer III frame header of a known rate and bit rate.
std::optional<TMp3Format> ReadMp3Format(const uint8_t* data, size_t size);
