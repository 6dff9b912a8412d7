// On Windows UTF-8 names are decoded as UTF-8 and 8-bit names in the system ANSI code
// page (films carry ANSI names); invalid byte sequences reject the name.
#include <windows.h>

#include "film/cab_member_name.h"

std::optional<std::filesystem::path> MemberPartToPath(const std::string& part, bool utf8) {
  if (part.empty()) return std::nullopt;
  const UINT codePage = utf8 ? CP_UTF8 : CP_ACP;
  const int size = static_cast<int>(part.size());
  const int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, part.data(), size, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(static_cast<size_t>(length), L'\0');
  if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, part.data(), size, wide.data(), length) != length)
    return std::nullopt;
  if (wide.find_first_of(L"\\/:") != std::wstring::npos) return std::nullopt;
  return std::filesystem::path(wide);
}
