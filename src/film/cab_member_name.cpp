#include "film/cab_member_name.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool IsForbiddenByte(unsigned char c) {
  if (c < 0x20 || c == 0x7F) return true;
  return std::string_view(":<>\"|?*").find(static_cast<char>(c)) != std::string_view::npos;
}

std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

// COM and LPT devices take a digit 1-9 or a superscript 1, 2, 3 (in UTF-8 or in the
// Windows-1252 bytes the ANSI code page may give).
bool IsNumberedDevice(const std::string& base) {
  if (base.size() < 4 || (base.compare(0, 3, "COM") != 0 && base.compare(0, 3, "LPT") != 0)) return false;
  const std::string_view suffix = std::string_view(base).substr(3);
  static constexpr std::array<std::string_view, 6> kSuperscripts = {"\xB9", "\xB2", "\xB3",
                                                                    "\xC2\xB9", "\xC2\xB2", "\xC2\xB3"};
  if (suffix.size() == 1 && suffix[0] >= '1' && suffix[0] <= '9') return true;
  return std::find(kSuperscripts.begin(), kSuperscripts.end(), suffix) != kSuperscripts.end();
}

// The part before the first ".", with trailing blanks dropped, names the device.
bool IsDeviceName(std::string_view part) {
  std::string_view base = part.substr(0, part.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  const std::string upper = UpperAscii(base);
  static constexpr std::array<std::string_view, 6> kDevices = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  return std::find(kDevices.begin(), kDevices.end(), upper) != kDevices.end() || IsNumberedDevice(upper);
}

bool IsAcceptablePart(std::string_view part) {
  if (part.empty() || part == "." || part == "..") return false;
  if (part.back() == '.' || part.back() == ' ') return false;
  if (std::any_of(part.begin(), part.end(), [](char c) { return IsForbiddenByte(static_cast<unsigned char>(c)); }))
    return false;
  return !IsDeviceName(part);
}

}  // namespace

bool IsStrictUtf8(const std::string& text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const size_t size = text.size();
  for (size_t i = 0; i < size;) {
    const unsigned char lead = bytes[i];
    size_t length = 0;
    uint32_t code = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2, code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, code = lead & 0x07;
    } else {
      return false;  // continuation byte, C0/C1 overlong lead, or beyond U+10FFFF
    }
    if (size - i < length) return false;
    for (size_t k = 1; k < length; ++k) {
      if ((bytes[i + k] & 0xC0) != 0x80) return false;
      code = (code << 6) | (bytes[i + k] & 0x3F);
    }
    static constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

std::optional<std::vector<std::string>> SplitMemberName(const std::string& name, bool utf8) {
  if (name.empty() || name.size() > kMaxMemberNameBytes) return std::nullopt;
  if (utf8 && !IsStrictUtf8(name)) return std::nullopt;
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    const auto end = std::find_if(name.begin() + static_cast<std::ptrdiff_t>(start), name.end(), IsSeparator);
    const size_t stop = static_cast<size_t>(end - name.begin());
    const std::string_view part = std::string_view(name).substr(start, stop - start);
    // An empty part covers leading separators (absolute, UNC, "\\?\"), doubled and
    // trailing ones.
    if (!IsAcceptablePart(part)) return std::nullopt;
    parts.emplace_back(part);
    if (end == name.end()) break;
    start = stop + 1;
  }
  return parts;
}

bool IsPlainMemberFileName(const std::string& name, bool utf8) {
  const auto parts = SplitMemberName(name, utf8);
  return parts && parts->size() == 1;
}

bool LiesInsideFolder(const std::filesystem::path& folder, const std::filesystem::path& target) {
  std::filesystem::path::string_type base = folder.lexically_normal().native();
  const std::filesystem::path::string_type inner = target.lexically_normal().native();
  if (base.empty()) return false;
  if (base.back() != std::filesystem::path::preferred_separator) base += std::filesystem::path::preferred_separator;
  return inner.size() > base.size() && inner.compare(0, base.size(), base) == 0;
}

std::optional<std::filesystem::path> MemberTargetPath(const std::filesystem::path& destination,
                                                      const std::string& name, bool utf8) {
  const auto parts = SplitMemberName(name, utf8);
  if (!parts) return std::nullopt;
  std::filesystem::path target = destination;
  for (const std::string& part : *parts) {
    const auto element = MemberPartToPath(part, utf8);
    // The converted part must still be one plain element (a code page could in
    // principle yield a separator).
    if (!element || element->has_root_path() || std::distance(element->begin(), element->end()) != 1 ||
        *element == "." || *element == "..")
      return std::nullopt;
    target /= *element;
  }
  if (!LiesInsideFolder(destination, target)) return std::nullopt;
  return target;
}
