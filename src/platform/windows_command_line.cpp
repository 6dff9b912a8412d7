#include "platform/windows_command_line.h"

namespace {
bool NeedsQuotes(const std::wstring& argument) {
  return argument.empty() || argument.find_first_of(L" \t\n\v\"") != std::wstring::npos;
}

// Backslashes stand for themselves unless a quote follows them: then each is doubled,
// and the quote escaped with one more.
std::wstring Quoted(const std::wstring& argument) {
  if (!NeedsQuotes(argument)) return argument;
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted.push_back(c);
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}
}  // namespace

std::wstring WindowsCommandLine(const std::vector<std::wstring>& arguments) {
  std::wstring line;
  for (const std::wstring& argument : arguments) {
    if (!line.empty()) line.push_back(L' ');
    line += Quoted(argument);
  }
  return line;
}
