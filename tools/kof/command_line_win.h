#pragma once
// Windows command lines: one string that the program started splits into its
// arguments by the C runtime's rules (CommandLineToArgvW's).
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The argument quoted so that it comes out of the split as it is.
std::wstring QuotedArgument(std::wstring_view argument);
// The arguments quoted and joined by spaces.
std::wstring CommandLineOf(const std::vector<std::wstring>& arguments);
// This process's command line without its first argument (the program), exactly as
// it came, so that no character is lost to a code page.
std::wstring ArgumentsAfterProgram();
// This process's arguments after the program, as UTF-8.
std::vector<std::string> Utf8Arguments();
// A program installed beside this process's executable.
std::filesystem::path ProgramBesideThis(const wchar_t* name);
