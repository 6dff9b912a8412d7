#pragma once
// Pictures as PNG files (8-bit RGB), written with libpng.
#include <filesystem>
#include <string>

#include "playback/ko_picture.h"

// Writes the picture's Width x Height pixels (blue, green, red in memory; a fourth
// byte is dropped) as an RGB PNG. Returns "" or why the file could not be written.
std::string WritePng(const std::filesystem::path& path, const TkoPictureView& picture);
