// The writer's cabinets and LZMA-alone files, read back by independent programs
// (cabextract, gcab, xz). Each check is skipped when its program is not installed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <sys/wait.h>

#include "writer/cabinet_writer.h"
#include "writer/lzma_writer.h"
#include "support/shell_quote.h"
#include "support/temp_dir.h"

using namespace filmwriter;

namespace {
bool Installed(const std::string& program) {
  return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a shell command; returns its exit status and standard output.
std::pair<int, std::string> RunCommand(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return {-1, output};
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}


// Mixed content: a compressible stretch and a pseudo-random one.
Bytes Sample(size_t size, uint32_t seed) {
  Bytes bytes(size);
  for (size_t i = 0; i < size; ++i) {
    seed = seed * 1103515245u + 12345u;
    bytes[i] = i % 3000 < 1500 ? uint8_t(i / 7) : uint8_t(seed >> 16);
  }
  return bytes;
}

// Members spanning several data blocks, a short one and an empty one; the folder's
// total size is odd, so the last LZX frame has an odd length.
std::vector<CabMember> SampleMembers() {
  std::vector<CabMember> members = {{"koS_20090406171337750.dat", Sample(100001, 1)},
                                    {"notes.txt", Sample(1234, 2)},
                                    {"empty.bin", {}}};
  members[1].date = ((2011 - 1980) << 9) | (12 << 5) | 31;
  members[1].time = (23 << 11) | (59 << 5) | (58 / 2);
  return members;
}

struct CabCase {
  CabCompression compression;
  int windowBits;
};

class CabinetReaders : public testing::TestWithParam<CabCase> {};
}  // namespace

TEST_P(CabinetReaders, CabextractAndGcabTestListAndExtractEveryMember) {
  TempDir dir;
  CabinetOptions options;
  options.compression = GetParam().compression;
  options.lzxWindowBits = GetParam().windowBits;
  const auto members = SampleMembers();
  const std::string cabinet = Quoted(dir / "a.cab");
  WriteBytesToFile(dir / "a.cab", BuildCabinet(members, options));
  auto expectExtracted = [&](const std::string& command, const std::filesystem::path& out) {
    std::filesystem::create_directory(out);
    const auto [status, output] = RunCommand(command + " 2>&1");
    ASSERT_EQ(status, 0) << output;
    for (const CabMember& member : members) EXPECT_EQ(ReadBytesFromFile(out / member.name), member.data) << member.name;
  };

  if (Installed("cabextract")) {
    const auto [testStatus, testOutput] = RunCommand("cabextract -t " + cabinet + " 2>&1");
    EXPECT_EQ(testStatus, 0) << testOutput;
    EXPECT_NE(testOutput.find("All done, no errors."), std::string::npos) << testOutput;
    const auto [listStatus, listing] = RunCommand("cabextract -l " + cabinet + " 2>&1");
    EXPECT_EQ(listStatus, 0) << listing;
    EXPECT_NE(listing.find("06.04.2009 17:13:36 | koS_20090406171337750.dat"), std::string::npos) << listing;
    EXPECT_NE(listing.find("31.12.2011 23:59:58 | notes.txt"), std::string::npos) << listing;
    expectExtracted("cabextract -q -d " + Quoted(dir / "cabextract") + " " + cabinet, dir / "cabextract");
  }
  // gcab also checks every data block's checksum.
  if (Installed("gcab")) expectExtracted("gcab -x -C " + Quoted(dir / "gcab") + " " + cabinet, dir / "gcab");
  if (!Installed("cabextract") && !Installed("gcab")) GTEST_SKIP() << "neither cabextract nor gcab is installed";
}

INSTANTIATE_TEST_SUITE_P(Compressions, CabinetReaders,
                         testing::Values(CabCase{CabCompression::Stored, 0},
                                         CabCase{CabCompression::MsZip, 0},
                                         CabCase{CabCompression::Lzx, 15},
                                         CabCase{CabCompression::Lzx, 21}));

TEST(LzmaAloneReaders, XzDecodesEverySizeForm) {
  if (!Installed("xz")) GTEST_SKIP() << "xz is not installed";
  TempDir dir;
  const Bytes data = Sample(150000, 3);
  for (LzmaSize size : {LzmaSize::Known, LzmaSize::Unknown, LzmaSize::KnownWithEndMarker}) {
    WriteBytesToFile(dir / "a.lzma", BuildLzmaAlone(data, size));
    std::filesystem::remove(dir / "b");
    const auto [status, output] = RunCommand("xz --format=lzma -d -c " + Quoted(dir / "a.lzma") +
                                      " 2>&1 >" + Quoted(dir / "b"));
    ASSERT_EQ(status, 0) << int(size) << ": " << output;
    EXPECT_EQ(ReadBytesFromFile(dir / "b"), data) << int(size);
  }
}
