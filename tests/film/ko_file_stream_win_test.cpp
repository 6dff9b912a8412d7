// Share modes exist only on Windows: what one open file stream lets others do.
#include <gtest/gtest.h>

#include "film/ko_error.h"
#include "film/ko_stream.h"
#include "writer/film_bytes.h"
#include "support/temp_dir.h"

namespace {
bool CanOpen(const std::filesystem::path& path, uint16_t mode) {
  try {
    TkoFileStream second(path, mode);
    return true;
  } catch (const EkoError&) {
    return false;
  }
}
}  // namespace

TEST(FileStreamSharing, ModesDecideWhatASecondOpenMayDo) {
  TempDir dir;
  const auto path = dir / "film.kof";
  filmwriter::WriteBytesToFile(path, {1, 2, 3});
  {
    TkoFileStream exclusive(path, kModeReadExclusive);
    EXPECT_FALSE(CanOpen(path, kModeReadShared)) << "mode 0 lets nobody else in";
  }
  {
    TkoFileStream shared(path, kModeReadShared);
    EXPECT_TRUE(CanOpen(path, kModeReadShared)) << "mode 0x20 lets others read";
    EXPECT_FALSE(CanOpen(path, 0x0022)) << "but not write";
    EXPECT_FALSE(CanOpen(path, kModeReadExclusive)) << "nor open exclusively";
  }
  {
    TkoFileStream created(dir / "new.tmp", kModeCreate);
    EXPECT_FALSE(CanOpen(dir / "new.tmp", kModeReadShared)) << "a file being created is not shared";
  }
  EXPECT_TRUE(CanOpen(path, kModeReadExclusive)) << "closing releases the file";
}
