#pragma once
// A segment's MP3 sound measured for the activity model (sound_levels.h), decoded by the
// system's MP3 decoder through the Audio Compression Manager (msacm32): the stream's
// first frame header tells ACM the format, and ACM turns the frames into 16-bit PCM
// in pieces, which the level meter takes as they come.
#include <filesystem>
#include <optional>

#include "playback/sound_levels.h"

// The levels of the file's sound; none when the file cannot be read, is no Layer III
// stream, or the system has no decoder for it or the decoder fails on the way (the caller
// then cannot tell silence from speech).
std::optional<TSoundLevels> DecodeMp3Levels(const std::filesystem::path& file);
