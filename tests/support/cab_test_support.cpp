#include "support/cab_test_support.h"

#include <cstdlib>
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

std::filesystem::path CopySet(const std::filesystem::path& folder, const std::string& sourcePrefix,
                              const std::string& setPrefix, const std::string& setSuffix, int parts) {
  std::filesystem::create_directories(folder);
  for (int part = 1; part <= parts; ++part)
    std::filesystem::copy_file(TestCabinet(sourcePrefix + std::to_string(part)),
                               folder / (setPrefix + std::to_string(part) + setSuffix));
  return folder / (setPrefix + "1" + setSuffix);
}

std::optional<std::filesystem::path> ReferenceFolder(const std::string& key, const std::filesystem::path& cabinet,
                                                     const std::filesystem::path& scratch) {
  if (const char* prepared = std::getenv("RZ_CAB_REFERENCE_DIR"); prepared && *prepared) {
    const std::string folder = prepared;
#ifdef _WIN32
    if (folder.front() == '/') return std::filesystem::path("Z:" + folder) / key;  // a Unix path handed to Wine
#endif
    return std::filesystem::path(folder) / key;
  }
#ifndef _WIN32
  const std::filesystem::path out = scratch / key;
  const std::string command = "cabextract -q -d '" + out.string() + "' '" + cabinet.string() + "' >/dev/null 2>&1";
  if (std::system(command.c_str()) == 0) return out;
#endif
  (void)cabinet, (void)scratch;
  return std::nullopt;
}

}  // namespace cabtest
