// Memory and disk follow the bytes a film delivers, not the numbers it claims: kof
// runs under a 512 MiB address-space limit on films that claim far more, reports the
// damage, goes on with the rest of the film and leaves nothing in the temporary folder.
// Sanitizers reserve more address space than the limit, so their builds skip this.
#include <gtest/gtest.h>

#include "support/shell_quote.h"
#include "support/temp_dir.h"
#include "tools/kof_run.h"

using namespace filmwriter;

namespace {
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

// The shell lines that put kof's temporary folder under dir and limit its memory.
std::string Limited(const TempDir& dir) {
  return "TMPDIR=" + Quoted(dir / "tmp") + "; export TMPDIR; ulimit -v 524288;";
}

bool IsEmptyFolder(const std::filesystem::path& folder) {
  return std::filesystem::is_directory(folder) && std::filesystem::is_empty(folder);
}
}  // namespace

TEST(KofLimits, ABombOrAHugeIndexCostsNoMoreThanTheBytesDeliver) {
  if (kSanitized) GTEST_SKIP() << "address-space limit under sanitizers";
  TempDir dir;
  std::filesystem::create_directories(dir / "tmp");
  // The data file's own blocks, then 1.1 GiB of zeros that the header calls the cursor
  // track: about 170 KB packed.
  constexpr int32_t kTrack = 1100 << 20;
  SegmentSpec bomb = SmallSegment("Bomb");
  bomb.packing = Packing::Lzma;
  bomb.packedBlock = BuildLzmaAloneWithZeros(BuildDataFile(bomb.data).bytes, kTrack);
  bomb.header.cursorTrackSize = kTrack;
  WriteBytesToFile(dir / "bomb.kof", BuildFilm({bomb, SmallSegment("After")}));
  ASSERT_LT(std::filesystem::file_size(dir / "bomb.kof"), 300'000u);
  // Three million index entries announced, and the file long enough to hold them all:
  // one real segment, the rest zeros (entries of kind 0).
  constexpr int32_t kEntries = 3'000'000;
  FilmOptions options;
  options.segmentCount = kEntries;
  Bytes huge = BuildFilm({SmallSegment("Only")}, options);
  huge.resize(4 + size_t(kEntries) * kIndexEntrySize + huge.size(), 0);
  WriteBytesToFile(dir / "huge.kof", huge);

  const KofRun info = Kof("info --json " + Quoted(dir / "bomb.kof"), Limited(dir));
  ASSERT_EQ(info.exitCode, 0) << info.out;
  EXPECT_NE(info.out.find("\"warnings\":[\"Segment 1: the segment's cursors, cursor track and extra block do not "
                          "fit in memory\"]"),
            std::string::npos)
      << info.out;
  EXPECT_NE(info.out.find("\"name\":\"After\",\"playable\":true"), std::string::npos) << info.out;
  EXPECT_EQ(Kof("info " + Quoted(dir / "huge.kof") + " >/dev/null", Limited(dir)).exitCode, 0);
  for (const std::string film : {"bomb", "huge"})
    EXPECT_EQ(Kof("extract " + Quoted(dir / (film + ".kof")) + " " + Quoted(dir / film), Limited(dir)).exitCode, 0);
  EXPECT_FALSE(std::filesystem::exists(dir / "bomb" / "seg001.dat"));
  EXPECT_TRUE(std::filesystem::exists(dir / "bomb" / "seg002.dat"));
  EXPECT_TRUE(std::filesystem::exists(dir / "huge" / "seg001.dat"));
  EXPECT_TRUE(IsEmptyFolder(dir / "tmp"));
}
