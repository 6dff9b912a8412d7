#pragma once
// Text drawn with a TrueType font (FreeType), as a Windows screen at 100 % (96 dots per
// inch) shows it: sizes in points, grey anti-aliased edges or plain black-and-white
// pixels, the text as UTF-8. Films drawn so carry real text for the text index to read.
// Native builds only.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "writer/data_file_writer.h"

namespace filmwriter {

enum class FontFace {
  DejaVuSans,  // fonts-dejavu-core
  DejaVuSansMono,
  DejaVuSerif,
  Tahoma,  // Wine's own Tahoma (fonts-wine)
};
// Where the face's file is installed.
std::string FontFile(FontFace face);
// Whether the face's file is there.
bool FontInstalled(FontFace face);

// A box in picture pixels; right and bottom are outside.
struct TextBox {
  int left = 0, top = 0, right = 0, bottom = 0;
};

class TrueTypeFont {
public:
  // Throws std::runtime_error when the file cannot be read as a font.
  TrueTypeFont(const std::string& file, double points, bool antialiased = true);
  TrueTypeFont(FontFace face, double points, bool antialiased = true)
      : TrueTypeFont(FontFile(face), points, antialiased) {}
  ~TrueTypeFont();
  TrueTypeFont(const TrueTypeFont&) = delete;
  TrueTypeFont& operator=(const TrueTypeFont&) = delete;

  // Pixels from a line's top to its base line, and from one line's top to the next.
  int Ascent() const { return FAscent; }
  int LineHeight() const { return FLineHeight; }
  // The advance of the text in pixels.
  int Width(std::string_view text) const;
  // Draws text with its line's top-left at (x, top), blending the glyphs' coverage
  // into what is there; clipped to the picture. Returns the advance.
  int Draw(Picture& picture, int x, int top, std::string_view text, uint32_t colour) const;
  // The box of the line text would take at (x, top): its advance by the line's height.
  TextBox Box(int x, int top, std::string_view text) const;

private:
  struct Glyph {
    int left = 0, top = 0, width = 0, rows = 0, advance = 0;
    std::vector<uint8_t> coverage;  // width x rows, 0 to 255
  };
  const Glyph& GlyphOf(char32_t code) const;

  struct Library;
  std::unique_ptr<Library> FLibrary;
  bool FAntialiased;
  int FAscent = 0, FLineHeight = 0;
  mutable std::map<char32_t, Glyph> FGlyphs;
};

}  // namespace filmwriter
