#include "kof_common/text_encoding.h"

#include <windows.h>

#include <stdexcept>
#include <string>

#include "platform/wide_text_win.h"

namespace {
void RequireCodePage(int codePage) {
  CPINFO info;
  if (!::GetCPInfo(UINT(codePage), &info)) throw std::invalid_argument("unknown code page " + std::to_string(codePage));
}

// One byte sequence to UTF-16; false when it does not map.
bool ToWide(const char* bytes, int length, int codePage, std::wstring& out) {
  const int size = ::MultiByteToWideChar(UINT(codePage), MB_ERR_INVALID_CHARS, bytes, length, nullptr, 0);
  if (size <= 0) return false;
  const size_t at = out.size();
  out.resize(at + size_t(size));
  ::MultiByteToWideChar(UINT(codePage), MB_ERR_INVALID_CHARS, bytes, length, out.data() + at, size);
  return true;
}
}  // namespace

std::string CodePageToUtf8(const std::string& text, int codePage) {
  RequireCodePage(codePage);
  std::wstring wide;
  if (text.empty()) return {};
  // Byte by byte (single-byte code pages; UTF-8 is checked whole first), so one
  // unmapped byte spoils only itself.
  if (codePage == CP_UTF8 && ToWide(text.data(), int(text.size()), codePage, wide)) return WideToUtf8(wide);
  wide.clear();
  for (const char c : text)
    if (!ToWide(&c, 1, codePage, wide)) wide += L'\xFFFD';
  return WideToUtf8(wide);
}

std::string Utf8ToCodePage(const std::string& text, int codePage) {
  RequireCodePage(codePage);
  std::wstring wide;
  if (!text.empty() && !ToWide(text.data(), int(text.size()), CP_UTF8, wide))
    throw std::invalid_argument("text not in code page " + std::to_string(codePage));
  if (wide.empty()) return {};
  BOOL lacking = FALSE;
  const bool utf8 = codePage == CP_UTF8;
  const int size = ::WideCharToMultiByte(UINT(codePage), utf8 ? 0 : WC_NO_BEST_FIT_CHARS, wide.data(), int(wide.size()),
                                         nullptr, 0, nullptr, utf8 ? nullptr : &lacking);
  if (size <= 0 || lacking) throw std::invalid_argument("text not in code page " + std::to_string(codePage));
  std::string out(size_t(size), '\0');
  ::WideCharToMultiByte(UINT(codePage), utf8 ? 0 : WC_NO_BEST_FIT_CHARS, wide.data(), int(wide.size()), out.data(), size,
                        nullptr, nullptr);
  return out;
}
