#pragma once
// UTF-8 as the text index stores it: code points in and out, and the case folding that
// search compares words by. Folding covers the scripts lesson films are written in
// (Latin with its Western European letters, Cyrillic, Greek) from tables of our own, so
// it folds the same in kof, the Windows player and the browser, whatever their locale.
// A few letters fold to two (ß to ss, the ligature ﬁ to fi, İ to i), so that a word
// typed either way compares as one.
#include <string>
#include <string_view>
#include <utility>

// The code point of the UTF-8 sequence at text[at] and its length; length 0 when the
// bytes there are not UTF-8 (a stray byte, a sequence cut short or too long).
std::pair<char32_t, size_t> DecodeUtf8(std::string_view text, size_t at);

void AppendUtf8(std::string& text, char32_t code);

// The lower-case letter of code in the scripts above; every other code point as it is.
char32_t FoldCase(char32_t code);

// The text with every code point put through map; bytes that are not UTF-8 stay as
// they are.
std::string MappedText(std::string_view text, char32_t (*map)(char32_t));

// The text with every letter folded: to more than one letter where case folding makes
// it so, otherwise by FoldCase.
std::string FoldedText(std::string_view text);
