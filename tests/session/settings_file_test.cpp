// Writing the settings file so that nothing in it is lost: a file that cannot be read is
// not written, a damaged one is moved aside first, an earlier version's is written as
// this version, a later version's is left alone, and the changes go over what the file
// holds, a write telling when newer values or places there won over some. The file here
// lives in memory; the Windows operations are tested under Wine
// (settings_file_win_test.cpp).
#include "session/settings_file.h"

#include <gtest/gtest.h>

#include <optional>

namespace {
class TMemorySettingsFile final : public TSettingsFileAccess {
public:
  std::optional<std::string> Disk;   // none: there is no file
  std::optional<std::string> Aside;  // the damaged copy
  bool Busy = false;                 // another program holds the file
  bool CanMoveAside = true;
  bool CanReplace = true;

  TRead Read(std::string& text) override {
    if (!Disk) return TRead::kMissing;
    if (Busy) return TRead::kBusy;
    text = Disk->substr(0, TSettingsStore::kMaxFileBytes + 1);
    return TRead::kRead;
  }
  bool MoveAside() override {
    if (!CanMoveAside) return false;
    Aside = std::exchange(Disk, std::nullopt);
    return true;
  }
  bool Replace(const std::string& text) override {
    if (CanReplace) Disk = text;
    return CanReplace;
  }
};

const std::string kHeader = std::string(TSettingsStore::kFirstLine) + "\n";
const std::string kSaved = kHeader + "language=5 ru\nwhat=5 ever\nplace=5 1 2 0 7 C:\\old.kof\n";
// The change: C:\new.kof at segment 0, frame 3, taken at 9 ms, and English, at 9 ms.
const std::string kNewPlace = "place=9 1 2 0 3 C:\\new.kof\n";
const std::string kEnglish = "language=9 en\n";
}  // namespace

TEST(SettingsFile, AWriteLosesNothingAndMovesADamagedFileAside) {
  using enum TSettingsWrite;
  struct Case {
    std::optional<std::string> Disk;
    bool Busy, CanMoveAside, CanReplace;
    TSettingsWrite Expected;
    std::optional<std::string> DiskAfter;  // (Disk when it is to stay as it was)
    std::optional<std::string> AsideAfter;
  };
  const std::string damaged("\0\0\0\0", 4);
  const std::string later = "roRezodu settings 3\nplace=whatever it means\n";
  const std::string written = kHeader + kEnglish + "what=5 ever\n" + kNewPlace + "place=5 1 2 0 7 C:\\old.kof\n";
  const Case cases[] = {
      {std::nullopt, false, true, true, kWritten, kHeader + kEnglish + kNewPlace, std::nullopt},
      {kSaved, false, true, true, kWritten, written, std::nullopt},
      // An earlier version's file is written as this version, its values older than any.
      {"roRezodu settings 1\r\nlanguage=ru\r\nwhat=ever\r\nplace=5 1 2 0 7 C:\\old.kof\r\n", false, true, true,
       kWritten, kHeader + kEnglish + "what=0 ever\n" + kNewPlace + "place=5 1 2 0 7 C:\\old.kof\n", std::nullopt},
      // Another player's later value wins (which do, the store's test): written, but not all of it.
      {kHeader + "language=20 ru\n", false, true, true, kSuperseded, kHeader + "language=20 ru\n" + kNewPlace,
       std::nullopt},
      // Held by another program: not written now.
      {kSaved, true, true, true, kDeferred, kSaved, std::nullopt},
      {kSaved, false, true, false, kDeferred, kSaved, std::nullopt},
      // Damaged: moved aside, then written anew; when it cannot be moved, left.
      {damaged, false, true, true, kWritten, kHeader + kEnglish + kNewPlace, damaged},
      {damaged, false, false, true, kDeferred, damaged, std::nullopt},
      {damaged, false, true, false, kDeferred, std::nullopt, damaged},
      // A later version's file: neither read nor written.
      {later, false, true, true, kLeftAlone, later, std::nullopt},
  };
  TSettingsChanges changes;
  changes.RememberPlace({"C:\\new.kof", 1, 2}, {0, 3}, 9);
  changes.SetValue("language", "en", 9);
  for (size_t i = 0; i < std::size(cases); ++i) {
    TMemorySettingsFile file;
    file.Disk = cases[i].Disk;
    file.Busy = cases[i].Busy;
    file.CanMoveAside = cases[i].CanMoveAside;
    file.CanReplace = cases[i].CanReplace;
    EXPECT_EQ(WriteSettingsChanges(file, changes), cases[i].Expected) << "case " << i;
    EXPECT_EQ(file.Disk, cases[i].DiskAfter) << "case " << i;
    EXPECT_EQ(file.Aside, cases[i].AsideAfter) << "case " << i;
  }
}

TEST(SettingsFile, ReadingTellsWhyNothingWasRead) {
  using enum TSettingsRead;
  struct Case {
    std::optional<std::string> Disk;
    bool Busy;
    TSettingsRead Expected;
    size_t Places;
  };
  const Case cases[] = {
      {kSaved, false, kRead, 1},
      {std::nullopt, false, kMissing, 0},
      {kSaved, true, kBusy, 0},
      {"garbage\n", false, kDamaged, 0},
      {"roRezodu settings 3\n" + kNewPlace, false, kLaterVersion, 0},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    TMemorySettingsFile file;
    file.Disk = cases[i].Disk;
    file.Busy = cases[i].Busy;
    TSettingsStore store;
    store.SetValue("language", "en", 1);  // what an earlier read left
    EXPECT_EQ(ReadSettings(file, store), cases[i].Expected) << "case " << i;
    EXPECT_EQ(store.ResumeCount(), cases[i].Places) << "case " << i;
    EXPECT_EQ(store.Value("language"), cases[i].Expected == kRead ? "ru" : "") << "case " << i;
  }
}
