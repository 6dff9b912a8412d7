// Share modes exist only on Windows: what one open file stream lets others do.
#include <gtest/gtest.h>

#include <tuple>

#include "film/ko_error.h"
#include "film/ko_stream.h"
#include "writer/film_bytes.h"
#include "support/temp_dir.h"

TEST(FileStreamSharing, ModesDecideWhatASecondOpenMayDo) {
  TempDir dir;
  filmwriter::WriteBytesToFile(dir / "film.kof", {1, 2, 3});
  const auto canOpen = [](const std::filesystem::path& path, uint16_t mode) {
    try {
      TkoFileStream second(path, mode);
      return true;
    } catch (const EkoError&) {
      return false;
    }
  };
  // The first stream's mode, a second open's mode, and whether that may open.
  const std::tuple<uint16_t, uint16_t, bool> cases[] = {
      {kModeReadExclusive, kModeReadShared, false},  // mode 0 lets nobody else in
      {kModeReadShared, kModeReadShared, true},      // 0x20 lets others read,
      {kModeReadShared, 0x0022, false},              // but not write,
      {kModeReadShared, kModeReadExclusive, false},  // nor open exclusively
      {kModeCreate, kModeReadShared, false},         // a file being created is not shared
  };
  for (const auto& [mode, second, allowed] : cases) {
    const TkoFileStream first(mode == kModeCreate ? dir / "new.tmp" : dir / "film.kof", mode);
    EXPECT_EQ(canOpen(first.FileName(), second), allowed) << mode << " then " << second;
  }
  EXPECT_TRUE(canOpen(dir / "film.kof", kModeReadExclusive)) << "closing releases the file";
}
