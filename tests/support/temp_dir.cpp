#include "support/temp_dir.h"

#include <atomic>
#include <chrono>
#include <system_error>

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  const auto base = std::filesystem::temp_directory_path();
  for (;;) {
    FPath = base / ("rz_test_" + std::to_string(stamp) + "_" + std::to_string(counter++));
    if (std::filesystem::create_directory(FPath)) break;
  }
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(FPath, ignored);
}
