// The writer's cabinets and LZMA-alone files, read back by independent programs
// (cabextract, gcab, xz). Each check is skipped when its program is not installed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include <sys/wait.h>

#include "writer/cabinet_writer.h"
#include "writer/lzma_writer.h"
#include "support/temp_dir.h"

using namespace filmwriter;

namespace {
bool Installed(const std::string& program) {
  return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a shell command (its standard error joined to its output); returns its exit
// status and output.
std::pair<int, std::string> RunCommand(const std::string& command) {
  std::string output;
  FILE* pipe = popen(("(" + command + ") 2>&1").c_str(), "r");
  char buffer[4096];
  for (size_t n; pipe && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
  const int status = pipe ? pclose(pipe) : -1;
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

std::string Quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

// Mixed content: a compressible stretch and a pseudo-random one.
Bytes Sample(size_t size, uint32_t seed) {
  Bytes bytes(size);
  for (size_t i = 0; i < size; ++i) {
    seed = seed * 1103515245u + 12345u;
    bytes[i] = i % 3000 < 1500 ? uint8_t(i / 7) : uint8_t(seed >> 16);
  }
  return bytes;
}
}  // namespace

TEST(ExternalReaders, CabextractAndGcabTestListAndExtractEveryMemberOfEveryCompression) {
  if (!Installed("cabextract") && !Installed("gcab")) GTEST_SKIP() << "neither cabextract nor gcab is installed";
  // Members spanning several data blocks, a short one and an empty one; the folder's
  // total size is odd, so the last LZX frame has an odd length.
  std::vector<CabMember> members = {
      {"koS_20090406171337750.dat", Sample(100001, 1)}, {"notes.txt", Sample(1234, 2)}, {"empty.bin", {}}};
  members[1].date = ((2011 - 1980) << 9) | (12 << 5) | 31, members[1].time = (23 << 11) | (59 << 5) | (58 / 2);
  for (const CabinetOptions& options : {CabinetOptions{CabCompression::Stored}, CabinetOptions{CabCompression::MsZip},
                                        CabinetOptions{CabCompression::Lzx, 15}, CabinetOptions{CabCompression::Lzx, 21}}) {
    SCOPED_TRACE(CabCompressionType(options));
    TempDir dir;
    const std::string cabinet = Quoted(dir / "a.cab");
    WriteBytesToFile(dir / "a.cab", BuildCabinet(members, options));
    // gcab also checks every data block's checksum.
    for (const auto& [program, command] : {std::pair{"cabextract", "cabextract -q -d "}, {"gcab", "gcab -x -C "}}) {
      if (!Installed(program)) continue;
      std::filesystem::create_directory(dir / program);
      const auto [status, output] = RunCommand(command + Quoted(dir / program) + " " + cabinet);
      ASSERT_EQ(status, 0) << output;
      for (const CabMember& member : members) EXPECT_EQ(ReadBytesFromFile(dir / program / member.name), member.data);
    }
    if (!Installed("cabextract")) continue;
    const auto [status, test] = RunCommand("cabextract -t " + cabinet);
    EXPECT_EQ(status, 0);
    EXPECT_NE(test.find("All done, no errors."), std::string::npos) << test;
    const std::string listing = RunCommand("cabextract -l " + cabinet).second;
    EXPECT_NE(listing.find("06.04.2009 17:13:36 | koS_20090406171337750.dat"), std::string::npos) << listing;
    EXPECT_NE(listing.find("31.12.2011 23:59:58 | notes.txt"), std::string::npos) << listing;
  }
}

TEST(ExternalReaders, XzDecodesEveryLzmaAloneSizeForm) {
  if (!Installed("xz")) GTEST_SKIP() << "xz is not installed";
  TempDir dir;
  const Bytes data = Sample(150000, 3);
  for (LzmaSize size : {LzmaSize::Known, LzmaSize::Unknown, LzmaSize::KnownWithEndMarker}) {
    WriteBytesToFile(dir / "a.lzma", BuildLzmaAlone(data, size));
    const auto [status, output] = RunCommand("xz --format=lzma -d -c " + Quoted(dir / "a.lzma") + " >" + Quoted(dir / "b"));
    ASSERT_EQ(status, 0) << int(size) << ": " << output;
    EXPECT_EQ(ReadBytesFromFile(dir / "b"), data) << int(size);
  }
}
