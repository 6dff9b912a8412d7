#pragma once
// The program keeps its texts as UTF-8; the wide (UTF-16) API gets them converted at
// the call.
#include <string>
#include <string_view>

// The UTF-16 form of a UTF-8 text; byte sequences that are not UTF-8 become U+FFFD.
std::wstring Utf8ToWide(std::string_view text);
// The UTF-8 form of a UTF-16 text; unpaired surrogates become U+FFFD.
std::string WideToUtf8(std::wstring_view text);
