#include "kof_export/unicode_case.h"

#include <windows.h>

// The system's own table, the one its file systems fold names with; a code point
// beyond UTF-16's single units stays as it is.
char32_t LowerCase(char32_t code) {
  if (code < 0x80) return code >= 'A' && code <= 'Z' ? code + ('a' - 'A') : code;
  if (code > 0xFFFF || (code >= 0xD800 && code <= 0xDFFF)) return code;
  wchar_t unit = wchar_t(code);
  ::CharLowerBuffW(&unit, 1);
  return char32_t(unit);
}
