#pragma once
// Helpers for the cabinet tests: the test cabinets, folder snapshots, and the
// reference extraction made by cabextract.
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
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

// A cabinet set copied under the names its headers use: parts "<sourcePrefix><n>.cab"
// of the test data become "<setPrefix><n><setSuffix>" in folder. Returns the first part.
std::filesystem::path CopySet(const std::filesystem::path& folder, const std::string& sourcePrefix,
                              const std::string& setPrefix, const std::string& setSuffix, int parts);

// What cabextract extracts from cabinet, for the reference named key: the folder
// RZ_CAB_REFERENCE_DIR/<key> made beforehand by tests/support/make_cab_reference.sh
// when that variable is set, else (natively) a fresh run of cabextract into
// scratch/<key>. nullopt when neither is available.
std::optional<std::filesystem::path> ReferenceFolder(const std::string& key, const std::filesystem::path& cabinet,
                                                     const std::filesystem::path& scratch);

}  // namespace cabtest
