#pragma once
// Case folding of the ASCII capitals A to Z only. Option words and file extensions are
// ASCII; every other character (of a path, say) compares exactly, so no locale can make
// two different file names equal.
#include <string_view>

template <typename Char>
constexpr Char AsciiLower(Char c) {
  return c >= Char('A') && c <= Char('Z') ? static_cast<Char>(c - Char('A') + Char('a')) : c;
}

// Equal once the capitals A to Z of both are lowered.
template <typename Char>
constexpr bool SameIgnoringAsciiCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}
