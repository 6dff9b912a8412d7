#include "film/temp_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <thread>

#include "film/ko_stream.h"
#include "writer/film_bytes.h"
#include "support/temp_dir.h"
#include "support/error_text.h"

TEST(PlayerTempFolder, TakesTheFirstFreeNumberGoesOnlyWhenEmptyAndReportsFailure) {
  TempDir parent;
  std::filesystem::create_directory(parent / "koP_0000");
  std::filesystem::create_directory(parent / "koP_0001");
  filmwriter::WriteBytesToFile(parent / "koP_0002", {1});  // a file takes the name too
  const auto folder = CreatePlayerTempFolder(parent.path());
  EXPECT_EQ(folder, parent / "koP_0003");

  filmwriter::WriteBytesToFile(folder / "left.dat", {1});
  EXPECT_FALSE(RemovePlayerTempFolder(folder));
  EXPECT_TRUE(std::filesystem::exists(folder / "left.dat")) << "a folder with files stays as it is";
  std::filesystem::remove(folder / "left.dat");
  EXPECT_TRUE(RemovePlayerTempFolder(folder));
  EXPECT_FALSE(std::filesystem::exists(folder));

  // A folder inside a file cannot be made.
  EXPECT_EQ(ErrorOf([&] { CreatePlayerTempFolder(parent / "koP_0002"); }),
            "Cannot create the temporary folder " + PathText(parent / "koP_0002" / "koP_0000"));
}

TEST(PlayerTempFolder, PlayersStartingTogetherGetFoldersOfTheirOwn) {
  TempDir parent;
  std::vector<std::filesystem::path> folders(8);
  std::vector<std::thread> starts;
  for (auto& folder : folders) starts.emplace_back([&] { folder = CreatePlayerTempFolder(parent.path()); });
  for (auto& start : starts) start.join();
  std::sort(folders.begin(), folders.end());
  EXPECT_EQ(std::unique(folders.begin(), folders.end()), folders.end());
  EXPECT_EQ(folders.back().filename(), "koP_0007");
}

TEST(TempFileName, IsPrefixTimeStampAndExtensionAndAvoidsExistingFiles) {
  TempDir dir;
  const auto name = MakeTempFileName("cab", dir.path());
  EXPECT_EQ(name.parent_path(), dir.path());
  EXPECT_TRUE(std::regex_match(name.filename().string(), std::regex(R"(koS_\d{17}\.cab)"))) << name;
  EXPECT_FALSE(std::filesystem::exists(name)) << "the file itself is not made";
  // The stamp's fields are a real local date: month 01-12, hour below 24.
  const std::string stamp = TempTimeStamp();
  EXPECT_TRUE(std::regex_match(stamp, std::regex(R"(\d{4}(0[1-9]|1[0-2])\d\d([01]\d|2[0-3])\d{7})"))) << stamp;
  for (int i = 0; i < 5; ++i) {
    const auto taken = MakeTempFileName("mp3", dir.path(), "x_");
    filmwriter::WriteBytesToFile(taken, {});
    EXPECT_NE(MakeTempFileName("mp3", dir.path(), "x_"), taken);
  }
  EXPECT_EQ(MakeTempFileName("dat", {}).parent_path(), SystemTempFolder());
}
