#include "kof_export/unicode_case.h"

#include <locale.h>
#include <wctype.h>

namespace {
// The C library's case table for all of Unicode; nothing where the system lacks it
// (then only ASCII letters fold).
locale_t UnicodeCase() {
  static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(0));
  return locale;
}
}  // namespace

char32_t LowerCase(char32_t code) {
  if (code < 0x80) return code >= 'A' && code <= 'Z' ? code + ('a' - 'A') : code;
  if (UnicodeCase() == locale_t(0)) return code;
  return char32_t(towlower_l(wint_t(code), UnicodeCase()));
}
