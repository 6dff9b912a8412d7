#pragma once
// Paths in shell commands that tests run.
#include <filesystem>
#include <string>

// The path in single quotes. (Built by appending: GCC 12 warns falsely about
// operator+ on strings at -O3.)
inline std::string Quoted(const std::filesystem::path& path) {
  std::string quoted(1, '\'');
  quoted.append(path.string());
  quoted.push_back('\'');
  return quoted;
}
