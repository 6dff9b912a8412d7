#pragma once
// kof's sound level source for the activity model: the segment's MP3 decoded with
// FFmpeg, its RMS levels measured window by window (playback/sound_levels.h).
#include <filesystem>

#include "playback/sound_levels.h"

// The levels of the file's sound in windows of windowMilliseconds, of the loudest
// channel. Throws EkoError when the file cannot be opened or holds no sound that can
// be decoded; damaged frames are stepped over.
TSoundLevels ReadSoundLevels(const std::filesystem::path& path,
                             int32_t windowMilliseconds = TSoundLevels::kDefaultWindowMilliseconds);
