#include "film_text/truetype_text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <stdexcept>

#include "text/utf8_text.h"

namespace filmwriter {

std::string FontFile(FontFace face) {
  switch (face) {
    case FontFace::DejaVuSans:
      return "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    case FontFace::DejaVuSansMono:
      return "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
    case FontFace::DejaVuSerif:
      return "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";
    case FontFace::Tahoma:
      return "/usr/share/wine/fonts/tahoma.ttf";
  }
  return "";
}

bool FontInstalled(FontFace face) {
  std::error_code ignored;
  return std::filesystem::is_regular_file(FontFile(face), ignored);
}

struct TrueTypeFont::Library {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  ~Library() {
    if (face != nullptr) FT_Done_Face(face);
    if (library != nullptr) FT_Done_FreeType(library);
  }
};

TrueTypeFont::TrueTypeFont(const std::string& file, double points, bool antialiased)
    : FLibrary(std::make_unique<Library>()), FAntialiased(antialiased) {
  if (FT_Init_FreeType(&FLibrary->library) != 0) throw std::runtime_error("FreeType cannot start");
  if (FT_New_Face(FLibrary->library, file.c_str(), 0, &FLibrary->face) != 0)
    throw std::runtime_error(file + " cannot be read as a font");
  constexpr FT_UInt kScreenDpi = 96;
  if (FT_Set_Char_Size(FLibrary->face, 0, FT_F26Dot6(std::lround(points * 64)), kScreenDpi, kScreenDpi) != 0)
    throw std::runtime_error(file + " has no size of " + std::to_string(points) + " points");
  const FT_Size_Metrics& metrics = FLibrary->face->size->metrics;
  FAscent = int((metrics.ascender + 63) >> 6);
  FLineHeight = int((metrics.height + 63) >> 6);
}

TrueTypeFont::~TrueTypeFont() = default;

const TrueTypeFont::Glyph& TrueTypeFont::GlyphOf(char32_t code) const {
  if (const auto found = FGlyphs.find(code); found != FGlyphs.end()) return found->second;
  Glyph& glyph = FGlyphs[code];
  FT_Face face = FLibrary->face;
  const FT_Int32 flags = FT_LOAD_RENDER | (FAntialiased ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO);
  if (FT_Load_Char(face, code, flags) != 0) return glyph;  // drawn as nothing
  const FT_GlyphSlot slot = face->glyph;
  const FT_Bitmap& bitmap = slot->bitmap;
  glyph = {slot->bitmap_left, slot->bitmap_top, int(bitmap.width), int(bitmap.rows), int(slot->advance.x >> 6), {}};
  glyph.coverage.resize(size_t(glyph.width) * size_t(glyph.rows));
  for (int y = 0; y < glyph.rows; ++y) {
    const unsigned char* row = bitmap.buffer + y * bitmap.pitch;
    for (int x = 0; x < glyph.width; ++x) {
      const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
      glyph.coverage[size_t(y * glyph.width + x)] = mono ? ((row[x >> 3] >> (7 - (x & 7))) & 1) * 255 : row[x];
    }
  }
  return glyph;
}

int TrueTypeFont::Width(std::string_view text) const {
  int width = 0;
  for (size_t at = 0; at < text.size();) {
    const auto [code, length] = DecodeUtf8(text, at);
    width += GlyphOf(length == 0 ? U'?' : code).advance;
    at += std::max<size_t>(length, 1);
  }
  return width;
}

namespace {
uint32_t Blend(uint32_t under, uint32_t over, int coverage) {
  uint32_t mixed = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int a = int(under >> shift & 0xFF), b = int(over >> shift & 0xFF);
    mixed |= uint32_t(a + ((b - a) * coverage + 127) / 255) << shift;
  }
  return mixed;
}
}  // namespace

int TrueTypeFont::Draw(Picture& picture, int x, int top, std::string_view text, uint32_t colour) const {
  const int start = x, baseline = top + FAscent;
  for (size_t at = 0; at < text.size();) {
    const auto [code, length] = DecodeUtf8(text, at);
    at += std::max<size_t>(length, 1);
    const Glyph& glyph = GlyphOf(length == 0 ? U'?' : code);
    for (int gy = 0; gy < glyph.rows; ++gy) {
      const int py = baseline - glyph.top + gy;
      if (py < 0 || py >= picture.height) continue;
      for (int gx = 0; gx < glyph.width; ++gx) {
        const int px = x + glyph.left + gx;
        const int coverage = glyph.coverage[size_t(gy * glyph.width + gx)];
        if (px >= 0 && px < picture.width && coverage > 0)
          picture.At(px, py) = Blend(picture.At(px, py), colour, coverage);
      }
    }
    x += glyph.advance;
  }
  return x - start;
}

TextBox TrueTypeFont::Box(int x, int top, std::string_view text) const {
  return {x, top, x + Width(text), top + FLineHeight};
}

}  // namespace filmwriter
