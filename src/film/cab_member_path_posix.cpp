// Natively a path is a byte string: UTF-8 names stay as they are, 8-bit names are
// read as Latin-1 and stored as UTF-8, so every name becomes valid UTF-8.
#include "film/cab_member_name.h"

std::optional<std::filesystem::path> MemberPartToPath(const std::string& part, bool utf8) {
  if (utf8) return std::filesystem::path(part);
  std::string converted;
  converted.reserve(part.size() * 2);
  for (const char c : part) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      converted += c;
    } else {
      converted += static_cast<char>(0xC0 | (byte >> 6));
      converted += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return std::filesystem::path(converted);
}
