#pragma once
// Helpers for the cabinet tests: the test cabinets and folder snapshots.
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

namespace cabtest {

// The test-data folder of cabinets, and baseName + ".cab" in it.
std::filesystem::path CabinetDir();
std::filesystem::path TestCabinet(const std::string& baseName);

// Every entry below root (except the subtree at exclude): relative path -> size
// (-1 for folders).
std::map<std::string, int64_t> Snapshot(const std::filesystem::path& root, const std::filesystem::path& exclude = {});

// Every regular file below root: relative path -> contents.
std::map<std::string, std::string> ReadTree(const std::filesystem::path& root);

}  // namespace cabtest
