#pragma once
// Names in films are 8-bit text in a Windows code page (the recorder's is 1251).
#include <string>

// The text converted from Windows code page `codePage` to UTF-8; bytes the code page
// does not map become U+FFFD. Throws std::invalid_argument for an unknown code page.
std::string CodePageToUtf8(const std::string& text, int codePage);
