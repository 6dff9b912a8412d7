#pragma once
// A fresh folder for one test, removed with everything in it afterwards.
#include <filesystem>
#include <string>

class TempDir {
public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return FPath; }
  std::filesystem::path operator/(const std::string& name) const { return FPath / name; }

private:
  std::filesystem::path FPath;
};
