#include "kof/png_file.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstring>
#include <fstream>
#include <system_error>
#include <vector>

namespace {
// libpng writes through the stream, which opens any path (a wide one on Windows).
void WriteToStream(png_structp png, png_bytep data, png_size_t length) {
  auto& out = *static_cast<std::ofstream*>(png_get_io_ptr(png));
  if (!out.write(reinterpret_cast<const char*>(data), std::streamsize(length))) png_error(png, "write failed");
}

void FlushStream(png_structp png) { static_cast<std::ofstream*>(png_get_io_ptr(png))->flush(); }

// libpng reports errors by longjmp: nothing with a destructor lives in this function.
bool WriteRows(std::ofstream& file, const TkoPictureView& picture, uint8_t* rgb) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &file, WriteToStream, FlushStream);
  // Frames are many and mostly flat: fast compression is small enough.
  png_set_compression_level(png, 1);
  png_set_IHDR(png, info, static_cast<png_uint_32>(picture.Width), static_cast<png_uint_32>(picture.Height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  const int32_t step = picture.BytesPerPixel();
  for (int32_t y = 0; y < picture.Height; ++y) {
    const uint8_t* p = picture.Row(y);
    for (int32_t x = 0; x < picture.Width; ++x, p += step) {
      rgb[3 * x] = p[2];
      rgb[3 * x + 1] = p[1];
      rgb[3 * x + 2] = p[0];
    }
    png_write_row(png, rgb);
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}
}  // namespace

std::string WritePng(const std::filesystem::path& path, const TkoPictureView& picture) {
  if (picture.IsEmpty() || !IsDrawableDepth(picture.Depth)) return "no picture";
  std::vector<uint8_t> rgb(static_cast<size_t>(picture.Width) * 3);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) return std::strerror(errno);
  const bool written = WriteRows(file, picture, rgb.data());
  file.close();
  if (written && file) return "";
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  return "cannot write the PNG data";
}
