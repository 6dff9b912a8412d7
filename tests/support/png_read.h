#pragma once
// PNG files that kof writes, read back for comparison (native builds).
#include <png.h>

#include <filesystem>
#include <vector>

#include "writer/data_file_writer.h"

// A PNG file as a picture of 0x00RRGGBB; an empty picture when it cannot be read.
inline filmwriter::Picture ReadPng(const std::filesystem::path& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return {};
  filmwriter::Picture picture = filmwriter::Picture::Filled(int(image.width), int(image.height), 0);
  for (size_t i = 0; i < picture.pixels.size(); ++i)
    picture.pixels[i] = uint32_t{rgb[3 * i]} << 16 | uint32_t{rgb[3 * i + 1]} << 8 | rgb[3 * i + 2];
  return picture;
}
