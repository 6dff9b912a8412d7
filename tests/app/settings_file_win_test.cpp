// The settings file on real files: held by another program it is not written until it
// is let go, and then not over a language chosen later meanwhile; a damaged one is moved
// aside, a later version's is left alone, and writers take turns through the lock,
// keeping each other's places.
#include "app/settings_file_win.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <set>
#include <thread>
#include <vector>

#include "support/temp_dir.h"

namespace {
// An earlier version's file: written as this version's.
const std::string kSaved = "roRezodu settings 1\nlanguage=ru\nvolume=80\nplace=5 1 2 0 7 C:\\old.kof\n";
const TFilmIdentity kNewFilm{"C:\\new.kof", 1, 2};
const TFilmIdentity kOldFilm{"C:\\old.kof", 1, 2};

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

TSettingsStore Parsed(const std::filesystem::path& path) {
  TSettingsStore store;
  EXPECT_EQ(store.Parse(ReadFile(path)), TSettingsText::kSettings);
  return store;
}

std::set<std::string> Names(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

// Another program's handle on path, sharing it as share says.
class THeld {
public:
  THeld(const std::filesystem::path& path, DWORD share)
      : FFile(CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr)) {}
  ~THeld() { CloseHandle(FFile); }
  THeld(const THeld&) = delete;
  THeld& operator=(const THeld&) = delete;
  bool Holds() const { return FFile != INVALID_HANDLE_VALUE; }

private:
  HANDLE FFile;
};
}  // namespace

TEST(SettingsFileWin, AFileHeldByAnotherProgramIsWrittenOnlyOnceItIsLetGo) {
  // No sharing at all; letting others rename it (which alone let a write replace it);
  // letting others write it.
  for (const DWORD share : {DWORD{0}, DWORD{FILE_SHARE_DELETE}, DWORD{FILE_SHARE_WRITE}}) {
    TempDir dir;
    const auto path = dir / "settings.txt";
    WriteFile(path, kSaved);
    TSettingsFile settings(path);
    {
      const THeld held(path, share);
      ASSERT_TRUE(held.Holds());
      settings.RememberPlace(kNewFilm, {0, 3});
      settings.SetValue("language", "en");
      EXPECT_FALSE(settings.WritePending(50)) << share;
      // Meanwhile the player has its own changes.
      const TSettingsStore meanwhile = settings.Read();
      EXPECT_EQ(meanwhile.ResumePlace(kNewFilm), (TFilmFrame{0, 3})) << share;
      EXPECT_EQ(meanwhile.Value("language"), "en") << share;
    }
    EXPECT_EQ(ReadFile(path), kSaved) << "written while held, sharing " << share;
    EXPECT_TRUE(settings.WritePending());
    const TSettingsStore written = Parsed(path);
    EXPECT_EQ(written.ResumePlace(kNewFilm), (TFilmFrame{0, 3})) << share;
    EXPECT_EQ(written.ResumePlace(kOldFilm), (TFilmFrame{0, 7})) << share;
    EXPECT_EQ(written.Value("language"), "en") << share;
    EXPECT_EQ(written.Value("volume"), "80") << share;
    EXPECT_EQ(Names(dir.path()), (std::set<std::string>{"settings.lock", "settings.txt"})) << "nothing else left";
  }
}

TEST(SettingsFileWin, AChoiceThatHadToWaitDoesNotGoOverOneMadeLater) {
  TempDir dir;
  const auto path = dir / "settings.txt";
  WriteFile(path, kSaved);
  TSettingsFile first(path), second(path);
  {
    const THeld held(path, 0);
    ASSERT_TRUE(held.Holds());
    first.SetValue("language", "en");
    EXPECT_FALSE(first.WritePending(50));
  }
  second.SetValue("language", "de");
  EXPECT_TRUE(first.WritePending()) << "nothing is left to write";
  EXPECT_EQ(Parsed(path).Value("language"), "de");
  EXPECT_EQ(first.Read().Value("language"), "de");
}

TEST(SettingsFileWin, AFileHeldForAMomentIsReadAndWrittenWhenLetGo) {
  TempDir dir;
  const auto path = dir / "settings.txt";
  WriteFile(path, kSaved);
  auto held = std::make_unique<THeld>(path, 0);
  std::thread letGo([&held] {
    Sleep(TSettingsFile::kPatienceMs / 3);
    held.reset();
  });
  TSettingsFile settings(path);
  settings.RememberPlace(kNewFilm, {0, 3});
  letGo.join();
  const TSettingsStore written = Parsed(path);
  EXPECT_EQ(written.ResumePlace(kNewFilm), (TFilmFrame{0, 3})) << "written within the patience";
  EXPECT_EQ(written.ResumePlace(kOldFilm), (TFilmFrame{0, 7}));
  EXPECT_EQ(written.Value("language"), "ru");
}

TEST(SettingsFileWin, ADamagedFileIsMovedAsideAndALaterVersionsIsLeftAlone) {
  TempDir dir;
  const auto path = dir / "settings.txt";
  const std::string damaged("\0\0\0\0\0\0", 6);
  for (const std::string& before : {std::string("\x01\x02 junk"), damaged}) {
    WriteFile(path, before);
    TSettingsFile settings(path);
    settings.RememberPlace(kNewFilm, {0, 3});
    EXPECT_EQ(ReadFile(dir / "settings.damaged.txt"), before) << "the last damaged file is kept aside";
    EXPECT_EQ(Parsed(path).ResumePlace(kNewFilm), (TFilmFrame{0, 3}));
  }
  const std::string later = "roRezodu settings 3\nplace=what it means here is not known\n";
  WriteFile(path, later);
  TSettingsFile settings(path);
  settings.RememberPlace(kOldFilm, {0, 9});
  EXPECT_FALSE(settings.WritePending());
  EXPECT_EQ(ReadFile(path), later);
  EXPECT_EQ(settings.Read().ResumePlace(kOldFilm), (TFilmFrame{0, 9})) << "this run still has it";
  EXPECT_EQ(ReadFile(dir / "settings.damaged.txt"), damaged);
}

TEST(SettingsFileWin, WritersTakeTurnsAndKeepEachOthersPlaces) {
  TempDir dir;
  const auto path = dir / "settings.txt";
  WriteFile(path, kSaved);
  // While another writer holds the lock, the file is not touched.
  {
    const HANDLE lock = CreateFileW((dir / "settings.lock").c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0, nullptr);
    OVERLAPPED start{};
    ASSERT_TRUE(LockFileEx(lock, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &start));
    TSettingsFile settings(path);
    const ULONGLONG before = GetTickCount64();
    settings.RememberPlace(kNewFilm, {0, 3});
    EXPECT_GE(GetTickCount64() - before, TSettingsFile::kPatienceMs - 20) << "it waited for its turn";
    EXPECT_EQ(ReadFile(path), kSaved);
    UnlockFileEx(lock, 0, 1, 0, &start);
    CloseHandle(lock);
    EXPECT_TRUE(settings.WritePending());
    EXPECT_EQ(Parsed(path).ResumePlace(kNewFilm), (TFilmFrame{0, 3}));
  }
  // Four players writing at once, each its own films: every place is kept.
  constexpr int kPlayers = 4, kFilms = 20;
  std::vector<std::thread> players;
  std::vector<int> unwritten(kPlayers, 0);
  for (int player = 0; player < kPlayers; ++player)
    players.emplace_back([&, player] {
      TSettingsFile settings(path);
      for (int film = 0; film < kFilms; ++film)
        settings.RememberPlace({"C:\\" + std::to_string(player) + "\\" + std::to_string(film) + ".kof", 1, 2},
                               {0, film});
      unwritten[player] = settings.WritePending(TSettingsFile::kExitPatienceMs) ? 0 : 1;
    });
  for (std::thread& player : players) player.join();
  EXPECT_EQ(unwritten, std::vector<int>(kPlayers, 0));
  const TSettingsStore written = Parsed(path);
  EXPECT_EQ(written.ResumeCount(), size_t{kPlayers * kFilms + 2});
  for (int player = 0; player < kPlayers; ++player)
    for (int film = 0; film < kFilms; ++film)
      EXPECT_EQ(written.ResumePlace({"C:\\" + std::to_string(player) + "\\" + std::to_string(film) + ".kof", 1, 2}),
                (TFilmFrame{0, film}));
  EXPECT_EQ(written.Value("language"), "ru");
}
