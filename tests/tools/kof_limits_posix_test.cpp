// Memory and disk follow the bytes a film delivers, not the numbers it claims: kof
// runs under a 512 MiB address-space limit on films that claim far more, reports the
// damage, goes on with the rest of the film and leaves nothing in the temporary folder.
// Sanitizers reserve more address space than the limit, so their builds skip this.
#include <gtest/gtest.h>

#include "support/shell_quote.h"
#include "support/temp_dir.h"
#include "tools/kof_run.h"
#include "writer/film_writer.h"

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

SegmentSpec Plain(const std::string& name) {
  SegmentSpec spec;
  spec.data.name = name;
  spec.data.pictures = {Picture::Filled(6, 4, 0x102030), Picture::Filled(6, 4, 0x102031)};
  return spec;
}

bool IsEmptyFolder(const std::filesystem::path& folder) {
  return std::filesystem::is_directory(folder) && std::filesystem::is_empty(folder);
}
}  // namespace

TEST(KofLimits, AStreamThatExpandsBeyondMemoryLeavesOnlyItsSegmentWithoutData) {
  if (kSanitized) GTEST_SKIP() << "address-space limit under sanitizers";
  TempDir dir;
  std::filesystem::create_directories(dir / "tmp");
  // The data file's own blocks, then 1.1 GiB of zeros that the header calls the cursor
  // track: about 170 KB packed.
  constexpr int32_t kTrack = 1100 << 20;
  SegmentSpec bomb = Plain("Bomb");
  bomb.packing = Packing::Lzma;
  bomb.packedBlock = BuildLzmaAloneWithZeros(BuildDataFile(bomb.data).bytes, kTrack);
  bomb.header.cursorTrackSize = kTrack;
  WriteBytesToFile(dir / "film.kof", BuildFilm({bomb, Plain("After")}));
  ASSERT_LT(std::filesystem::file_size(dir / "film.kof"), 300'000u);

  const KofRun info = Kof("info --json " + Quoted(dir / "film.kof"), Limited(dir));
  ASSERT_EQ(info.exitCode, 0) << info.out;
  EXPECT_NE(info.out.find("\"warnings\":[\"Segment 1: the segment's cursors, cursor track and extra block do not "
                          "fit in memory\"]"),
            std::string::npos)
      << info.out;
  EXPECT_NE(info.out.find("\"name\":\"After\",\"playable\":true"), std::string::npos) << info.out;
  EXPECT_TRUE(IsEmptyFolder(dir / "tmp"));

  const KofRun extract = Kof("extract " + Quoted(dir / "film.kof") + " " + Quoted(dir / "out"), Limited(dir));
  EXPECT_EQ(extract.exitCode, 0);
  EXPECT_FALSE(std::filesystem::exists(dir / "out" / "seg001.dat"));
  EXPECT_TRUE(std::filesystem::exists(dir / "out" / "seg002.dat"));
  EXPECT_TRUE(IsEmptyFolder(dir / "tmp"));
}

TEST(KofLimits, AHugeIndexCountCostsNoMoreThanTheIndexItself) {
  if (kSanitized) GTEST_SKIP() << "address-space limit under sanitizers";
  TempDir dir;
  std::filesystem::create_directories(dir / "tmp");
  // Three million entries announced, and the file long enough to hold them all: one
  // real segment, the rest zeros (entries of kind 0).
  constexpr int32_t kEntries = 3'000'000;
  FilmOptions options;
  options.segmentCount = kEntries;
  Bytes film = BuildFilm({Plain("Only")}, options);
  film.resize(4 + size_t(kEntries) * kIndexEntrySize + film.size(), 0);
  WriteBytesToFile(dir / "film.kof", film);

  EXPECT_EQ(Kof("info " + Quoted(dir / "film.kof") + " >/dev/null", Limited(dir)).exitCode, 0);
  const KofRun extract = Kof("extract " + Quoted(dir / "film.kof") + " " + Quoted(dir / "out"), Limited(dir));
  EXPECT_EQ(extract.exitCode, 0);
  EXPECT_TRUE(std::filesystem::exists(dir / "out" / "seg001.dat"));
  EXPECT_TRUE(IsEmptyFolder(dir / "tmp"));
}
