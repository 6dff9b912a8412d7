#pragma once
// This process's command line, as kof and kof-export read it on Windows, and the
// programs beside it. (Command lines for other programs: platform/windows_command_line.h.)
#include <filesystem>
#include <string>
#include <vector>

// This process's command line without its first argument (the program), exactly as
// it came, so that no character is lost to a code page.
std::wstring ArgumentsAfterProgram();
// This process's arguments after the program, as UTF-8.
std::vector<std::string> Utf8Arguments();
// A program installed beside this process's executable.
std::filesystem::path ProgramBesideThis(const wchar_t* name);
