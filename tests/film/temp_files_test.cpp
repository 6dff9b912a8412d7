#include "film/temp_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <thread>

#include "film/ko_error.h"
#include "writer/film_bytes.h"
#include "support/temp_dir.h"

TEST(PlayerTempFolder, TakesTheFirstFreeNumberAndGoesOnlyWhenEmpty) {
  TempDir parent;
  std::filesystem::create_directory(parent / "koP_0000");
  std::filesystem::create_directory(parent / "koP_0001");
  filmwriter::WriteBytesToFile(parent / "koP_0002", {1});  // a file takes the name too
  const auto folder = CreatePlayerTempFolder(parent.path());
  EXPECT_EQ(folder.filename(), "koP_0003");
  EXPECT_TRUE(std::filesystem::is_directory(folder));

  filmwriter::WriteBytesToFile(folder / "left.dat", {1});
  EXPECT_FALSE(RemovePlayerTempFolder(folder));
  EXPECT_TRUE(std::filesystem::exists(folder / "left.dat")) << "a folder with files stays as it is";
  std::filesystem::remove(folder / "left.dat");
  EXPECT_TRUE(RemovePlayerTempFolder(folder));
  EXPECT_FALSE(std::filesystem::exists(folder));
}

TEST(PlayerTempFolder, PlayersStartingTogetherGetFoldersOfTheirOwn) {
  TempDir parent;
  std::vector<std::filesystem::path> folders(8);
  std::vector<std::thread> starts;
  for (auto& folder : folders)
    starts.emplace_back([&] {
      try {
        folder = CreatePlayerTempFolder(parent.path());
      } catch (const EkoError& e) {
        ADD_FAILURE() << e.what();
      }
    });
  for (auto& start : starts) start.join();
  std::sort(folders.begin(), folders.end());
  EXPECT_EQ(std::unique(folders.begin(), folders.end()), folders.end());
  EXPECT_EQ(folders.back().filename(), "koP_0007");
}

TEST(PlayerTempFolder, FailureToCreateItIsReported) {
  TempDir parent;
  const auto notAFolder = parent / "plain-file";
  filmwriter::WriteBytesToFile(notAFolder, {1});
  try {
    CreatePlayerTempFolder(notAFolder);
    FAIL() << "a folder inside a file cannot be made";
  } catch (const EkoError& e) {
    EXPECT_NE(std::string(e.what()).find("Cannot create the temporary folder"), std::string::npos) << e.what();
  }
}

TEST(TempFileName, IsPrefixTimeStampAndExtensionAndAvoidsExistingFiles) {
  TempDir dir;
  const auto name = MakeTempFileName("cab", dir.path());
  EXPECT_EQ(name.parent_path(), dir.path());
  EXPECT_TRUE(std::regex_match(name.filename().string(), std::regex(R"(koS_\d{17}\.cab)")))
      << name.filename().string();
  EXPECT_FALSE(std::filesystem::exists(name)) << "the file itself is not made";

  // The stamp's fields are a real local date: month 01-12, day 01-31, hour < 24.
  const std::string stamp = TempTimeStamp();
  ASSERT_EQ(stamp.size(), 17u);
  EXPECT_GE(std::stoi(stamp.substr(4, 2)), 1);
  EXPECT_LE(std::stoi(stamp.substr(4, 2)), 12);
  EXPECT_LT(std::stoi(stamp.substr(8, 2)), 24);

  for (int i = 0; i < 5; ++i) {
    const auto taken = MakeTempFileName("mp3", dir.path(), "x_");
    filmwriter::WriteBytesToFile(taken, {});
    EXPECT_NE(MakeTempFileName("mp3", dir.path(), "x_"), taken);
  }
  EXPECT_EQ(MakeTempFileName("dat", {}).parent_path(), SystemTempFolder());
}
