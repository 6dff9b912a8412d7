#pragma once
// Names in films are 8-bit text in a Windows code page (the recorder's is 1251).
#include <string>

// The text converted from Windows code page `codePage` to UTF-8; bytes the code page
// does not map become U+FFFD. Throws std::invalid_argument for an unknown code page.
std::string CodePageToUtf8(const std::string& text, int codePage);
// UTF-8 text converted to Windows code page `codePage`. Throws std::invalid_argument for
// an unknown code page or a text that is not UTF-8 or has a character the code page
// lacks.
std::string Utf8ToCodePage(const std::string& text, int codePage);
