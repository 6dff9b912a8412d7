#pragma once
// A Windows command line from separate arguments, quoted so that the C runtime's parser
// (CommandLineToArgvW's rules) gives back exactly those arguments: spaces, quotes and
// backslashes before quotes included.
#include <string>
#include <vector>

std::wstring WindowsCommandLine(const std::vector<std::wstring>& arguments);
