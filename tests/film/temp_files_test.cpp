#include "film/temp_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
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
  for (int i = 0; i < 5; ++i) {
    const auto taken = MakeTempFileName("mp3", dir.path(), "x_");
    filmwriter::WriteBytesToFile(taken, {});
    EXPECT_NE(MakeTempFileName("mp3", dir.path(), "x_"), taken);
  }
  EXPECT_EQ(MakeTempFileName("dat", {}).parent_path(), SystemTempFolder());
#ifndef _WIN32
  // A folder named with a final separator (Windows always names it so) comes without it.
  const std::string saved = std::getenv("TMPDIR") != nullptr ? std::getenv("TMPDIR") : "";
  setenv("TMPDIR", (dir.path().string() + "/").c_str(), 1);
  EXPECT_EQ(SystemTempFolder(), dir.path());
  saved.empty() ? unsetenv("TMPDIR") : setenv("TMPDIR", saved.c_str(), 1);
#endif
}

TEST(TempFileName, TheStampIsTheLocalTimeToTheMillisecond) {
  const auto text = [](std::chrono::system_clock::time_point time) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    char date[16];
    std::strftime(date, sizeof date, "%Y%m%d%H%M%S", std::localtime(&seconds));
    const auto milliseconds = std::chrono::time_point_cast<std::chrono::milliseconds>(time).time_since_epoch() % 1000;
    return std::string(date) + std::to_string(1000 + milliseconds.count()).substr(1);
  };
  // Over 0.3 s every stamp lies between the clock read before and after it.
  for (int i = 0; i < 100; ++i) {
    const std::string before = text(std::chrono::system_clock::now()), stamp = TempTimeStamp(),
                      after = text(std::chrono::system_clock::now());
    ASSERT_TRUE(before <= stamp && stamp <= after) << before << " " << stamp << " " << after;
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
  }
}
