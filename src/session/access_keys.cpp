#include "session/access_keys.h"

#include <optional>

#include "text/utf8_text.h"

namespace {
bool CanBeKey(char32_t code) {
  if (code < 0x80) return (code >= '0' && code <= '9') || (code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z');
  const bool latin = code >= 0xC0 && code < 0x250 && code != 0xD7 && code != 0xF7;
  return latin || (code >= 0x391 && code <= 0x3C9) || (code >= 0x400 && code <= 0x4FF);
}

// The folded letter after an "&", when the label carries a key.
std::optional<char32_t> MarkedKey(const std::string& label) {
  for (size_t at = label.find('&'); at != std::string::npos && at + 1 < label.size(); at = label.find('&', at + 1)) {
    const auto [code, length] = DecodeUtf8(label, at + 1);
    if (length != 0 && CanBeKey(code)) return FoldCase(code);
  }
  return std::nullopt;
}

std::string Marked(const std::string& label, std::u32string& taken) {
  std::string out;
  bool marked = false;
  for (size_t at = 0; at < label.size();) {
    const auto [code, length] = DecodeUtf8(label, at);
    if (length == 0) {
      out += label[at++];
      continue;
    }
    const char32_t folded = FoldCase(code);
    if (!marked && CanBeKey(code) && taken.find(folded) == std::u32string::npos) {
      out += '&';
      taken += folded;
      marked = true;
    }
    if (code == U'&') out += '&';
    out.append(label, at, length);
    at += length;
  }
  return out;
}
}  // namespace

std::vector<std::string> WithAccessKeys(const std::vector<std::string>& labels) {
  std::u32string taken;
  for (const std::string& label : labels)
    if (const auto key = MarkedKey(label)) taken += *key;
  std::vector<std::string> keyed;
  for (const std::string& label : labels) keyed.push_back(MarkedKey(label) ? label : Marked(label, taken));
  return keyed;
}
