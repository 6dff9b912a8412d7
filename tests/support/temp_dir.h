#pragma once
// A fresh folder for one test, removed with everything in it afterwards.
#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>

class TempDir {
public:
  TempDir() {
    static std::atomic<int> counter{0};
    const auto stamp = std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    do FPath = std::filesystem::temp_directory_path() / ("rz_test_" + stamp + "_" + std::to_string(counter++));
    while (!std::filesystem::create_directory(FPath));
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return FPath; }
  std::filesystem::path operator/(const std::string& name) const { return FPath / name; }

private:
  std::filesystem::path FPath;
};
