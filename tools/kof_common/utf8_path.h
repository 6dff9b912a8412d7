#pragma once
// kof takes its arguments and writes its messages in UTF-8 (program_arguments.h), and
// FFmpeg takes file names in UTF-8 too. Between them and std::filesystem names pass as
// UTF-8 on every platform: a plain std::string would be taken in the system's code page
// on Windows, which lacks most letters (and a name with them could not be printed).
#include <filesystem>
#include <string>

inline std::filesystem::path PathOfUtf8(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8Of(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return std::string(utf8.begin(), utf8.end());
}
