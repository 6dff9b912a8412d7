#include "support/cab_test_support.h"

#include <fstream>
#include <iterator>

namespace cabtest {

std::filesystem::path CabinetDir() { return std::filesystem::path(RZ_TESTDATA_DIR) / "cabinets"; }

std::filesystem::path TestCabinet(const std::string& baseName) { return CabinetDir() / (baseName + ".cab"); }

std::map<std::string, int64_t> Snapshot(const std::filesystem::path& root, const std::filesystem::path& exclude) {
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

std::map<std::string, std::string> ReadTree(const std::filesystem::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    files[entry.path().lexically_relative(root).generic_string()].assign(std::istreambuf_iterator<char>(in), {});
  }
  return files;
}

}  // namespace cabtest
