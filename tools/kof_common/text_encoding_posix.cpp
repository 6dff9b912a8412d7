#include "kof_common/text_encoding.h"

#include <iconv.h>

#include <stdexcept>

namespace {
std::string IconvName(int codePage) {
  if (codePage == 65001) return "UTF-8";
  if (codePage == 28591) return "ISO-8859-1";
  return "CP" + std::to_string(codePage);
}

// One converter per call keeps it simple; names are short.
class Converter {
public:
  explicit Converter(int codePage) : FHandle(iconv_open("UTF-8", IconvName(codePage).c_str())) {
    if (FHandle == reinterpret_cast<iconv_t>(-1))
      throw std::invalid_argument("unknown code page " + std::to_string(codePage));
  }
  ~Converter() { iconv_close(FHandle); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts one byte sequence; false when it does not map.
  bool Convert(const char* in, size_t length, std::string& out) {
    char buffer[16];
    char* inPtr = const_cast<char*>(in);
    char* outPtr = buffer;
    size_t inLeft = length, outLeft = sizeof(buffer);
    iconv(FHandle, nullptr, nullptr, nullptr, nullptr);
    if (iconv(FHandle, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) return false;
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    return true;
  }

private:
  iconv_t FHandle;
};
}  // namespace

std::string CodePageToUtf8(const std::string& text, int codePage) {
  Converter converter(codePage);
  std::string out;
  // Byte by byte (single-byte code pages; UTF-8 is checked whole first), so one
  // unmapped byte spoils only itself.
  if (codePage == 65001 && converter.Convert(text.data(), text.size(), out)) return out;
  out.clear();
  for (char c : text)
    if (!converter.Convert(&c, 1, out)) out += "\xEF\xBF\xBD";
  return out;
}

std::string Utf8ToCodePage(const std::string& text, int codePage) {
  const iconv_t handle = iconv_open(IconvName(codePage).c_str(), "UTF-8");
  if (handle == reinterpret_cast<iconv_t>(-1)) throw std::invalid_argument("unknown code page " + std::to_string(codePage));
  // A single-byte code page needs at most one byte a character, fewer than UTF-8's.
  std::string out(text.size(), '\0');
  char* in = const_cast<char*>(text.data());
  char* to = out.data();
  size_t inLeft = text.size(), outLeft = out.size();
  const bool converted = iconv(handle, &in, &inLeft, &to, &outLeft) != static_cast<size_t>(-1);
  iconv_close(handle);
  if (!converted) throw std::invalid_argument("text not in code page " + std::to_string(codePage));
  out.resize(out.size() - outLeft);
  return out;
}
