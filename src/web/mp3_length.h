#pragma once
// How long an MP3 stream lasts, read from its frame headers: the page's sound device
// must answer the engine's length and position questions at once, while the browser
// decodes the stream in the background.
#include <cstddef>
#include <cstdint>
#include <optional>

struct TMp3Length {
  int32_t SampleRate = 0;
  int64_t Samples = 0;  // per channel
  double Milliseconds() const { return SampleRate > 0 ? double(Samples) * 1000.0 / SampleRate : 0.0; }
};

// Skips an ID3v2 tag at the start, then walks MPEG audio frames (MPEG 1, 2 and 2.5,
// layers I to III) header by header until the data ends or no frame header follows
// (an ID3v1 tag, garbage, a free-format frame). A frame cut short by the end still
// counts. Returns nothing when no frame header is found where the first frame must
// start, or the rate changes between frames.
std::optional<TMp3Length> ReadMp3Length(const uint8_t* data, size_t size);
