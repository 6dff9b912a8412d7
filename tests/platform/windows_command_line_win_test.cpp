// Arguments quoted into one command line come back whole through the system's own parser.
#include "platform/windows_command_line.h"

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

TEST(WindowsCommandLine, TheSystemsParserGivesBackEveryArgument) {
  const std::vector<std::vector<std::wstring>> cases = {
      {L"export", L"C:\\films\\lesson.kof", L"-o", L"D:\\out\\lesson.mp4"},
      {L"C:\\Program Files\\roRezodu\\film.kof", L"", L"two  spaces"},
      {L"say \"hi\"", L"\"", L"\\\"", L"tail\\", L"C:\\folder with space\\", L"a\\\\b", L"\\\\server\\share"},
      {L"урок 1.kof", L"tab\there", L"--from", L"12.500"},
  };
  for (const auto& arguments : cases) {
    const std::wstring line = L"prog.exe " + WindowsCommandLine(arguments);
    int count = 0;
    LPWSTR* parsed = CommandLineToArgvW(line.c_str(), &count);
    ASSERT_NE(parsed, nullptr);
    std::vector<std::wstring> back(parsed + 1, parsed + count);
    LocalFree(parsed);
    EXPECT_EQ(back, arguments) << std::string(line.begin(), line.end());
  }
}
