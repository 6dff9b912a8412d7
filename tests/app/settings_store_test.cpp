// The settings file: what it reads (and leaves out), the resume list's limits, damaged
// files, and writing through a temporary name.
#include "app/settings_store.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_dir.h"

namespace {
const TFilmIdentity kFilm{"C:\\Уроки\\урок 1.kof", 123456, 133000000000000000};

std::string Header() { return std::string(TSettingsStore::kFirstLine) + "\n"; }

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

size_t FileCount(const std::filesystem::path& folder) {
  return size_t(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()));
}
}  // namespace

TEST(SettingsStore, ReadsWhatItCanAndLeavesOutTheRest) {
  struct Case {
    std::string Text;
    bool Valid;
    size_t ResumeCount;
    std::string Language;
  };
  const std::string entry = "resume=123456 133000000000000000 2 40 C:\\Уроки\\урок 1.kof\n";
  const Case cases[] = {
      {"", false, 0, ""},
      {"roRezodu settings 2\n" + entry, false, 0, ""},  // a later version is not read
      {"\x89PNG\r\n\x1a\n" + entry, false, 0, ""},
      {Header(), true, 0, ""},
      {Header() + entry + "language=en\n", true, 1, "en"},
      {"roRezodu settings 1\r\n" + entry.substr(0, entry.size() - 1) + "\r\nlanguage=en\r\n", true, 1, "en"},
      // Damaged lines: numbers missing or not numbers, no path, negative places, no "=".
      {Header() + "resume=1 2 3 C:\\a.kof\nresume=x 2 3 4 C:\\b.kof\nresume=1 2 3 4\nresume=1 2 -1 4 C:\\c.kof\n"
                  "garbage\nlanguage=en\n",
       true, 0, "en"},
      // A path is there once: the first (latest) line counts; the first value counts.
      {Header() + entry + "resume=1 2 3 4 C:\\Уроки\\урок 1.kof\nlanguage=en\nlanguage=de\n", true, 1, "en"},
      {Header() + std::string(TSettingsStore::kMaxFileBytes, 'x'), false, 0, ""},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    TSettingsStore store;
    EXPECT_EQ(store.Parse(cases[i].Text), cases[i].Valid) << "case " << i;
    EXPECT_EQ(store.ResumeCount(), cases[i].ResumeCount) << "case " << i;
    EXPECT_EQ(store.Value("language"), cases[i].Language) << "case " << i;
    if (cases[i].ResumeCount == 1) {
      EXPECT_EQ(store.ResumePlace(kFilm), (TFilmFrame{2, 40})) << "case " << i;
    }
  }
}

TEST(SettingsStore, AFilmIsKnownByPathSizeAndWriteTimeAndItsTextComesBack) {
  TSettingsStore store;
  store.SetValue("language", "en");
  store.SetValue("bad=key", "x");
  store.SetValue("resume", "1 2 3 4 C:\\x.kof");
  store.RememberPlace(kFilm, {2, 40});
  store.RememberPlace({"/films/two words.kof", 5, -7}, {0, 0});
  TSettingsStore again;
  ASSERT_TRUE(again.Parse(store.Text()));
  EXPECT_EQ(again.Text(), store.Text());
  EXPECT_EQ(again.Value("language"), "en");
  EXPECT_EQ(again.Value("bad=key"), "");
  EXPECT_EQ(again.ResumeCount(), 2u);
  const std::pair<TFilmIdentity, std::optional<TFilmFrame>> lookups[] = {
      {kFilm, TFilmFrame{2, 40}},
      {{kFilm.Path, kFilm.Size + 1, kFilm.WriteTime}, std::nullopt},
      {{kFilm.Path, kFilm.Size, kFilm.WriteTime + 1}, std::nullopt},
      {{"c:\\уроки\\урок 1.kof", kFilm.Size, kFilm.WriteTime}, std::nullopt},
      {{"/films/two words.kof", 5, -7}, TFilmFrame{0, 0}},
  };
  for (const auto& [film, place] : lookups) EXPECT_EQ(again.ResumePlace(film), place) << film.Path;
  // The same path with another size is the film changed: its old place goes.
  again.RememberPlace({kFilm.Path, 1, 1}, {1, 1});
  EXPECT_EQ(again.ResumeCount(), 2u);
  EXPECT_EQ(again.ResumePlace(kFilm), std::nullopt);
  again.ForgetPlace({kFilm.Path, 1, 1});
  EXPECT_EQ(again.ResumeCount(), 1u);
  // Nothing that would break a line or a place that is none.
  again.RememberPlace({"C:\\a\nb.kof", 1, 1}, {0, 0});
  again.RememberPlace({"C:\\c.kof", 1, 1}, {0, -1});
  again.RememberPlace({"", 1, 1}, {0, 0});
  EXPECT_EQ(again.ResumeCount(), 1u);
}

TEST(SettingsStore, HoldsTheLatest200FilmsTheOldestGoing) {
  TSettingsStore store;
  const auto film = [](int i) { return TFilmIdentity{"film" + std::to_string(i) + ".kof", i, i}; };
  for (int i = 0; i < 205; ++i) store.RememberPlace(film(i), {0, i});
  EXPECT_EQ(store.ResumeCount(), TSettingsStore::kMaxResumeFilms);
  EXPECT_EQ(store.ResumePlace(film(4)), std::nullopt);
  EXPECT_EQ(store.ResumePlace(film(5)), (TFilmFrame{0, 5}));
  // Remembered again, film 5 is the latest: the next newcomer pushes out film 6.
  store.RememberPlace(film(5), {0, 50});
  store.RememberPlace(film(300), {0, 300});
  EXPECT_EQ(store.ResumePlace(film(5)), (TFilmFrame{0, 50}));
  EXPECT_EQ(store.ResumePlace(film(6)), std::nullopt);
  // A file with more lines than that (written by hand) is read up to the limit.
  std::string text = Header();
  for (int i = 0; i < 210; ++i) text += "resume=1 1 0 " + std::to_string(i) + " f" + std::to_string(i) + "\n";
  ASSERT_TRUE(store.Parse(text));
  EXPECT_EQ(store.ResumeCount(), TSettingsStore::kMaxResumeFilms);
  EXPECT_EQ(store.ResumePlace({"f199", 1, 1}), (TFilmFrame{0, 199}));
  EXPECT_EQ(store.ResumePlace({"f200", 1, 1}), std::nullopt);
}

TEST(SettingsStore, DamagedOrMissingFilesReadEmptyAndAreWrittenWholeUnderAnotherName) {
  TempDir dir;
  const auto path = dir / "settings.txt";
  TSettingsStore store;
  store.RememberPlace(kFilm, {1, 2});
  EXPECT_FALSE(LoadSettings(path, store)) << "missing";
  EXPECT_EQ(store.ResumeCount(), 0u);

  WriteFile(path, std::string("\0\1\2garbage", 10));
  EXPECT_FALSE(LoadSettings(path, store)) << "damaged";
  store.RememberPlace(kFilm, {1, 2});
  ASSERT_TRUE(SaveSettings(path, store));  // over the damaged file
  EXPECT_EQ(ReadFile(path), store.Text());
  EXPECT_EQ(FileCount(dir.path()), 1u) << "no temporary file stays";
  TSettingsStore read;
  ASSERT_TRUE(LoadSettings(path, read));
  EXPECT_EQ(read.ResumePlace(kFilm), (TFilmFrame{1, 2}));

  // A folder that cannot take the file: false, the old file as it was, nothing left over.
  const std::string before = ReadFile(path);
  EXPECT_FALSE(SaveSettings(dir / "missing folder" / "settings.txt", store));
  std::filesystem::create_directory(dir / "a folder");
  EXPECT_FALSE(SaveSettings(dir / "a folder", store)) << "a folder is in the file's place";
  EXPECT_EQ(ReadFile(path), before);
  EXPECT_EQ(FileCount(dir.path()), 2u);
  EXPECT_EQ(FileCount(dir / "a folder"), 0u);
}
