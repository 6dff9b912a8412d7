#include "kof_common/command_line_win.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/wide_text_win.h"

// The program's name ends at its closing quote when it starts with one, else at the
// first blank; it has no escapes.
std::wstring ArgumentsAfterProgram() {
  const std::wstring_view line = ::GetCommandLineW();
  size_t at = 0;
  if (!line.empty() && line[0] == L'"') {
    at = line.find(L'"', 1);
    at = at == std::wstring_view::npos ? line.size() : at + 1;
  } else {
    at = line.find_first_of(L" \t");
    if (at == std::wstring_view::npos) at = line.size();
  }
  while (at < line.size() && (line[at] == L' ' || line[at] == L'\t')) ++at;
  return std::wstring(line.substr(at));
}

std::filesystem::path ProgramBesideThis(const wchar_t* name) {
  std::wstring self(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, self.data(), DWORD(self.size()));
    if (length < self.size()) {
      self.resize(length);
      break;
    }
    self.resize(self.size() * 2);
  }
  return std::filesystem::path(self).parent_path() / name;
}

std::vector<std::string> Utf8Arguments() {
  int count = 0;
  wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::string> utf8;
  for (int i = 1; arguments != nullptr && i < count; ++i) utf8.push_back(WideToUtf8(arguments[i]));
  ::LocalFree(arguments);
  return utf8;
}
