#pragma once
// MP3 encoding of the demo's sound track through LAME (native builds only).
#include <cstdint>
#include <vector>

#include "writer/film_bytes.h"

namespace demo {

// An MPEG-1 Layer III stream of the mono samples at sampleRate, 64 kbit/s constant
// bit rate, without tags, so it starts with its first audio frame. Throws
// std::runtime_error when the encoder refuses the settings or the samples.
filmwriter::Bytes EncodeMp3(const std::vector<int16_t>& samples, int sampleRate);

}  // namespace demo
