#include "kof/terminal_text.h"

#include <cstdio>

std::string WithControlsEscaped(const std::string& text, bool json) {
  std::string shown;
  char escaped[8];
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
    if (byte < 0x20 || byte == 0x7F) {
      std::snprintf(escaped, sizeof(escaped), json ? "\\u%04x" : "\\x%02x", byte);
    } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
      std::snprintf(escaped, sizeof(escaped), "\\u%04x", next);
      ++i;
    } else {
      shown += char(byte);
      continue;
    }
    shown += escaped;
  }
  return shown;
}
