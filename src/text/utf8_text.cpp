#include "text/utf8_text.h"

namespace {
// The letters whose folding is longer than one letter. İ folds to i without the combining
// dot above that Unicode adds, as a searcher types "istanbul".
std::string_view FoldedToMore(char32_t code) {
  switch (code) {
    case U'ß':
    case U'ẞ':
      return "ss";
    case U'İ':
      return "i";
    case U'ﬀ':
      return "ff";
    case U'ﬁ':
      return "fi";
    case U'ﬂ':
      return "fl";
    case U'ﬃ':
      return "ffi";
    case U'ﬄ':
      return "ffl";
    case U'ﬅ':
    case U'ﬆ':
      return "st";
    default:
      return {};
  }
}

// The text with each code point put through append; bytes that are not UTF-8 as they are.
template <class Append>
std::string Rewritten(std::string_view text, Append append) {
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const auto [code, length] = DecodeUtf8(text, at);
    if (length == 0) {
      out.push_back(text[at++]);
      continue;
    }
    append(out, code);
    at += length;
  }
  return out;
}
}  // namespace

std::pair<char32_t, size_t> DecodeUtf8(std::string_view text, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) return {lead, 1};
  const size_t length = lead >= 0xF5 ? 0 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  if (length == 0 || at + length > text.size()) return {0, 0};
  char32_t code = lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return {0, 0};
    code = (code << 6) | (byte(at + i) & 0x3F);
  }
  return {code, length};
}

void AppendUtf8(std::string& text, char32_t code) {
  if (code < 0x80) {
    text.push_back(char(code));
    return;
  }
  static constexpr unsigned char kLead[] = {0, 0, 0xC0, 0xE0, 0xF0};
  const size_t length = code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
  text.push_back(char(kLead[length] | (code >> (6 * (length - 1)))));
  for (size_t i = length - 1; i > 0; --i) text.push_back(char(0x80 | ((code >> (6 * (i - 1))) & 0x3F)));
}

char32_t FoldCase(char32_t code) {
  if (code >= 'A' && code <= 'Z') return code + 0x20;
  if (code < 0xC0) return code;
  if (code <= 0xDE && code != 0xD7) return code + 0x20;  // Latin-1 capitals
  if (code >= 0x100 && code <= 0x17F && code != 0x130 && code != 0x138 && code != 0x149 && code != 0x178)
    return (code >= 0x139 && code <= 0x148) || (code >= 0x179 && code <= 0x17E) ? code + (code & 1)
                                                                                : code | 1;  // Latin Extended-A pairs
  if (code == 0x178) return 0xFF;
  if (code >= 0x391 && code <= 0x3AB && code != 0x3A2) return code + 0x20;  // Greek
  if (code >= 0x400 && code <= 0x40F) return code + 0x50;                   // Ѐ..Џ
  if (code >= 0x410 && code <= 0x42F) return code + 0x20;                   // А..Я
  if (code >= 0x460 && code <= 0x4FF && (code <= 0x481 || code >= 0x48A) && code != 0x4C0)
    return code >= 0x4C1 && code <= 0x4CE ? code + (code & 1) : code | 1;
  return code;
}

std::string MappedText(std::string_view text, char32_t (*map)(char32_t)) {
  return Rewritten(text, [&](std::string& out, char32_t code) { AppendUtf8(out, map(code)); });
}

std::string FoldedText(std::string_view text) {
  return Rewritten(text, [](std::string& out, char32_t code) {
    if (const std::string_view more = FoldedToMore(code); !more.empty())
      out += more;
    else
      AppendUtf8(out, FoldCase(code));
  });
}
