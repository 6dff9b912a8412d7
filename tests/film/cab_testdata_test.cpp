// The reader on the public cabinet test suites: valid cabinets extract as cabextract
// extracts them, hostile and damaged ones write nothing outside the destination.
#include <gtest/gtest.h>

#include <tuple>

#include "film/ko_cab.h"
#include "support/cab_test_support.h"
#include "support/temp_dir.h"

namespace {

// Extracts cabinet into a fresh folder and compares it with cabextract's result.
void ExpectSameAsReference(const std::string& key, const std::filesystem::path& cabinet, const TempDir& temp) {
  SCOPED_TRACE(key);
  const auto reference = cabtest::ReferenceFolder(key, cabinet, temp / "reference");
  if (!reference) GTEST_SKIP() << "no cabextract and no RZ_CAB_REFERENCE_DIR";
  TkoCabReader reader;
  reader.ExtractFiles(cabinet, temp / "ours", 0);
  const auto expected = cabtest::ReadTree(*reference);
  const auto actual = cabtest::ReadTree(temp / "ours");
  ASSERT_FALSE(expected.empty()) << reference->string();
  EXPECT_EQ(actual.size(), expected.size());
  for (const auto& [name, contents] : expected) {
    const auto found = actual.find(name);
    // Compared without printing: some members are megabytes long.
    EXPECT_TRUE(found != actual.end() && found->second == contents) << name << " missing or different";
  }
}

TEST(CabTestData, ValidCabinetsAndSetsExtractAsCabextractDoes) {
  for (const char* key : {"cabs__large-files-cab", "cabd__mszip_lzx_qtm", "cabd__normal_2files_2folders",
                          "cabd__normal_2files_1folder", "cabd__reserve_HFD", "cabd__normal_255c_filename"}) {
    TempDir temp;
    ExpectSameAsReference(key, cabtest::TestCabinet(key), temp);
  }
  // A set is followed from its first part, found under the names its headers use.
  for (const auto& [key, source, name, suffix] :
       {std::tuple("set-multi_basic", "cabd__multi_basic_pt", "cabd_multi_basic_pt", ".cab"),
        std::tuple("set-split", "cabs__split-", "Split-", ".CAB")}) {
    TempDir temp;
    std::filesystem::create_directories(temp / "set");
    ExpectSameAsReference(key, cabtest::CopySet(temp / "set", source, name, suffix, 5), temp);
  }
}

TEST(CabTestData, OnlyThisCabinetStopsAtTheFirstPart) {
  TempDir temp;
  std::filesystem::create_directories(temp / "set");
  const auto first = cabtest::CopySet(temp / "set", "cabs__split-", "Split-", ".CAB", 5);
  TkoCabReader reader;
  reader.ExtractFiles(first, temp / "out", kCabOnlyThisCabinet);
  const auto files = cabtest::ReadTree(temp / "out");
  // small1.bin lies wholly in the first part; the last three members of the set begin
  // in later parts and are never reached.
  EXPECT_EQ(files.count("small1.bin"), 1u);
  for (const char* later : {"medium2.bin", "medium3.bin", "small3.bin"}) EXPECT_EQ(files.count(later), 0u) << later;
}

// Every name in the cabinet that is absolute is checked not to have appeared.
std::vector<std::filesystem::path> AbsoluteMemberPaths(const std::filesystem::path& cabinet) {
  std::vector<std::filesystem::path> paths;
  TkoCabReader reader;
  try {
    reader.EnumFiles(cabinet, [&](TkoCabReader&, const std::string& name, uint32_t, uint16_t, uint16_t, uint16_t,
                                  uint16_t, bool&) {
      std::filesystem::path path(name);
      if (!name.empty() && (name[0] == '/' || name[0] == '\\' || path.is_absolute())) paths.push_back(path);
    });
  } catch (const EkoError&) {
  }
  return paths;
}

// Lists and extracts a cabinet into a folder nested three deep in a fresh temporary
// folder: nothing outside that destination may change, whatever the cabinet holds.
void ExpectContained(const std::string& key) {
  SCOPED_TRACE(key);
  const auto cabinet = cabtest::TestCabinet(key);
  TempDir temp;
  const auto destination = temp / "a" / "b" / "dest";
  std::filesystem::create_directories(destination.parent_path());
  const auto absolute = AbsoluteMemberPaths(cabinet);
  std::vector<bool> existed;
  for (const auto& path : absolute) existed.push_back(std::filesystem::exists(path));
  const auto before = cabtest::Snapshot(temp.path());

  TkoCabReader reader;
  try {
    reader.EnumFiles(cabinet, [](TkoCabReader&, const std::string&, uint32_t, uint16_t, uint16_t, uint16_t, uint16_t,
                                 bool&) {});
  } catch (const EkoCabinet& error) {
    ADD_FAILURE() << "library failure: " << error.what();
  } catch (const EkoError&) {
    // a damaged listing is reported, which is fine
  }
  EXPECT_NO_THROW(reader.ExtractFiles(cabinet, destination, 0));
  EXPECT_EQ(cabtest::Snapshot(temp.path(), destination), before);
  for (size_t i = 0; i < absolute.size(); ++i)
    EXPECT_TRUE(existed[i] || !std::filesystem::exists(absolute[i])) << absolute[i].string();
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
  // or hides a separator or ".." in invalid UTF-8, so none is extracted; the long but
  // plain name of the 255-character cabinet is.
  TempDir temp;
  TkoCabReader reader;
  reader.ExtractFiles(cabtest::TestCabinet("cabs__dirwalk-vulns"), temp / "dest", 0);
  EXPECT_TRUE(cabtest::ReadTree(temp / "dest").empty());
  reader.ExtractFiles(cabtest::TestCabinet("cabd__normal_255c_filename"), temp / "long", 0);
  EXPECT_EQ(cabtest::ReadTree(temp / "long").size(), 1u);
}

}  // namespace
