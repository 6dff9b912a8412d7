// The reader on the public cabinet test suites: valid cabinets extract as cabextract
// extracts them, hostile and damaged ones write nothing outside the destination.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <optional>

#include "film/ko_cab.h"
#include "support/cab_test_support.h"
#include "support/temp_dir.h"

namespace {

// A cabinet set copied under the names its headers use; returns the first part.
std::filesystem::path CopySet(const std::filesystem::path& folder, const std::string& sourcePrefix,
                              const std::string& setPrefix, const std::string& setSuffix, int parts) {
  std::filesystem::create_directories(folder);
  for (int part = 1; part <= parts; ++part)
    std::filesystem::copy_file(cabtest::TestCabinet(sourcePrefix + std::to_string(part)),
                               folder / (setPrefix + std::to_string(part) + setSuffix));
  return folder / (setPrefix + "1" + setSuffix);
}

// What cabextract extracts from cabinet: the folder made beforehand by
// tests/support/make_cab_reference.sh (for Wine), else a fresh run of cabextract.
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

TEST(CabTestData, ValidCabinetsAndSetsExtractAsCabextractDoes) {
  std::vector<std::pair<std::string, std::function<std::filesystem::path(const TempDir&)>>> cases;
  for (const char* key : {"cabs__large-files-cab", "cabd__mszip_lzx_qtm", "cabd__normal_2files_2folders",
                          "cabd__normal_2files_1folder", "cabd__reserve_HFD", "cabd__normal_255c_filename"})
    cases.emplace_back(key, [key](const TempDir&) { return cabtest::TestCabinet(key); });
  // A set is followed from its first part, found under the names its headers use.
  cases.emplace_back("set-multi_basic", [](const TempDir& temp) {
    return CopySet(temp / "set", "cabd__multi_basic_pt", "cabd_multi_basic_pt", ".cab", 5);
  });
  cases.emplace_back("set-split", [](const TempDir& temp) {
    return CopySet(temp / "set", "cabs__split-", "Split-", ".CAB", 5);
  });
  for (const auto& [key, cabinetIn] : cases) {
    SCOPED_TRACE(key);
    TempDir temp;
    const auto cabinet = cabinetIn(temp);
    const auto reference = ReferenceFolder(key, cabinet, temp / "reference");
    if (!reference) GTEST_SKIP() << "no cabextract and no RZ_CAB_REFERENCE_DIR";
    TkoCabReader().ExtractFiles(cabinet, temp / "ours", 0);
    const auto expected = cabtest::ReadTree(*reference), actual = cabtest::ReadTree(temp / "ours");
    ASSERT_FALSE(expected.empty()) << reference->string();
    // Compared without printing: some members are megabytes long.
    EXPECT_TRUE(actual == expected) << "the extracted files differ";
  }
}

TEST(CabTestData, OnlyThisCabinetStopsAtTheFirstPart) {
  TempDir temp;
  TkoCabReader().ExtractFiles(CopySet(temp / "set", "cabs__split-", "Split-", ".CAB", 5), temp / "out",
                              kCabOnlyThisCabinet);
  // small1.bin lies wholly in the first part; the last three members of the set begin
  // in later parts and are never reached.
  const auto files = cabtest::ReadTree(temp / "out");
  EXPECT_EQ(files.count("small1.bin"), 1u);
  for (const char* later : {"medium2.bin", "medium3.bin", "small3.bin"}) EXPECT_EQ(files.count(later), 0u) << later;
}

// Lists and extracts a cabinet into a folder nested three deep in a fresh temporary
// folder: nothing outside that destination may change, whatever the cabinet holds, and
// no member with an absolute name may appear where it points.
void ExpectContained(const std::string& key) {
  SCOPED_TRACE(key);
  const auto cabinet = cabtest::TestCabinet(key);
  TempDir temp;
  const auto destination = temp / "a" / "b" / "dest";
  std::filesystem::create_directories(destination.parent_path());
  const auto before = cabtest::Snapshot(temp.path());
  std::vector<std::pair<std::filesystem::path, bool>> absolute;  // and whether it existed before
  TkoCabReader reader;
  try {
    reader.EnumFiles(cabinet, [&](TkoCabReader&, const std::string& name, uint32_t, uint16_t, uint16_t, uint16_t,
                                  uint16_t, bool&) {
      const std::filesystem::path path(name);
      if (!name.empty() && (name[0] == '/' || name[0] == '\\' || path.is_absolute()))
        absolute.emplace_back(path, std::filesystem::exists(path));
    });
  } catch (const EkoCabinet& error) {
    ADD_FAILURE() << "library failure: " << error.what();
  } catch (const EkoError&) {
    // a damaged listing is reported, which is fine
  }
  EXPECT_NO_THROW(reader.ExtractFiles(cabinet, destination, 0));
  EXPECT_EQ(cabtest::Snapshot(temp.path(), destination), before);
  for (const auto& [path, existed] : absolute) EXPECT_TRUE(existed || !std::filesystem::exists(path)) << path;
}

TEST(CabTestData, HostileAndDamagedCabinetsNeitherCrashNorWriteOutside) {
  // (The "bugs__" copies of the "cabd__" cabinets are left out, except the one of its own.)
  std::vector<std::string> keys = {"cabs__dirwalk-vulns", "cabd__normal_255c_filename"};
  for (const auto& entry : std::filesystem::directory_iterator(cabtest::CabinetDir())) {
    const std::string stem = entry.path().stem().string();
    for (const char* prefix : {"cabd__bad_", "cabd__partial_", "cabd__cve-", "bugs__cve-2010-2801", "cabd__lzx-",
                               "cabd__hidden-file", "cabd__filename-read-"})
      if (stem.rfind(prefix, 0) == 0) keys.push_back(stem);
  }
  ASSERT_EQ(keys.size(), 2u + 39u);
  for (const auto& key : keys) ExpectContained(key);

  // Every one of the directory-walk cabinet's 29 members is absolute, climbs with "..",
  // or hides a separator or ".." in invalid UTF-8, so none is extracted.
  TempDir temp;
  TkoCabReader().ExtractFiles(cabtest::TestCabinet("cabs__dirwalk-vulns"), temp / "dest", 0);
  EXPECT_TRUE(cabtest::ReadTree(temp / "dest").empty());
}

}  // namespace
