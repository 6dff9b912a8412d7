#pragma once
// Helpers for the cabinet tests: the test cabinets and folder snapshots.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace cabtest {

// The test-data folder of cabinets, and baseName + ".cab" in it.
inline std::filesystem::path CabinetDir() { return std::filesystem::path(RZ_TESTDATA_DIR) / "cabinets"; }
inline std::filesystem::path TestCabinet(const std::string& baseName) { return CabinetDir() / (baseName + ".cab"); }

// Every entry below root (except the subtree at exclude): relative path -> size
// (-1 for folders).
inline std::map<std::string, int64_t> Snapshot(const std::filesystem::path& root,
                                               const std::filesystem::path& exclude = {}) {
  std::map<std::string, int64_t> entries;
  std::error_code error;
  for (auto it = std::filesystem::recursive_directory_iterator(root, error);
       !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
    if (it->path() == exclude) {
      it.disable_recursion_pending();
      continue;
    }
    entries[it->path().lexically_relative(root).generic_string()] = it->is_directory() ? -1 : int64_t(it->file_size());
  }
  return entries;
}

// Every regular file below root: relative path -> contents.
inline std::map<std::string, std::string> ReadTree(const std::filesystem::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    files[entry.path().lexically_relative(root).generic_string()].assign(std::istreambuf_iterator<char>(in), {});
  }
  return files;
}

}  // namespace cabtest
