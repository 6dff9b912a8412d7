// The reader on cabinets made by the film writer: listing, where members land, their
// dates and attributes, the size limit and names that must not be extracted.
#include <gtest/gtest.h>

#include "film/ko_cab.h"
#include "support/cab_test_support.h"
#include "writer/cabinet_writer.h"
#include "support/temp_dir.h"

namespace {

using filmwriter::Bytes;
using filmwriter::CabCompression;

Bytes Pattern(size_t size, uint8_t seed) {
  Bytes bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>((i * 7 + seed) ^ (i >> 8));
  return bytes;
}

std::filesystem::path WriteCabinet(const TempDir& temp, const std::vector<filmwriter::CabMember>& members,
                                   CabCompression compression = CabCompression::Stored) {
  filmwriter::WriteBytesToFile(temp / "test.cab", filmwriter::BuildCabinet(members, {compression}));
  return temp / "test.cab";
}

bool IsWritable(const std::filesystem::path& path) {
  return (std::filesystem::status(path).permissions() & std::filesystem::perms::owner_write) !=
         std::filesystem::perms::none;
}

TEST(CabReaderEnum, ListsEveryEntryInOrderUntilStoppedAndRefusesNonCabinets) {
  TempDir temp;
  const auto cabinet = WriteCabinet(temp, {{"first.dat", Pattern(10, 1), 0x3A86, 0x8A32, 0x20},
                                           {"sub\\second.txt", Pattern(0, 2), 0x1111, 0x2222, 0x01},
                                           {"third", Pattern(70000, 3), 0x4321, 0x1234, 0xA1}});
  TkoCabReader reader;
  std::vector<std::string> listed;
  auto collect = [&](TkoCabReader&, const std::string& name, uint32_t size, uint16_t folder, uint16_t date,
                     uint16_t time, uint16_t attributes, bool& stop) {
    listed.push_back(FormatText("%s %u %u %04X %04X %02X", name.c_str(), size, folder, date, time, attributes));
    stop = listed.size() == 5;  // the second listing stops after its second entry
  };
  ASSERT_TRUE(reader.EnumFiles(cabinet, collect));
  ASSERT_TRUE(reader.EnumFiles(cabinet, collect));
  EXPECT_EQ(listed, (std::vector<std::string>{"first.dat 10 0 3A86 8A32 20", "sub\\second.txt 0 0 1111 2222 01",
                                              "third 70000 0 4321 1234 A1", "first.dat 10 0 3A86 8A32 20",
                                              "sub\\second.txt 0 0 1111 2222 01"}));
  // Not cabinets: not listed; missing files raise.
  listed.clear();
  filmwriter::WriteBytesToFile(temp / "plain.txt", Bytes(200, 'M'));
  filmwriter::WriteBytesToFile(temp / "empty", {});
  for (const auto& other : {temp / "plain.txt", temp / "empty", cabtest::TestCabinet("cabd__bad_signature")})
    EXPECT_FALSE(reader.EnumFiles(other, collect)) << other;
  EXPECT_THROW(reader.EnumFiles(temp / "missing.cab", collect), EkoError);
  EXPECT_TRUE(listed.empty());
}

TEST(CabReaderExtract, MembersLandWithTheirBytesFoldersAndReadOnlyBit) {
  const Bytes data = Pattern(100000, 9), small = Pattern(33, 4);
  for (const auto compression : {CabCompression::Stored, CabCompression::MsZip, CabCompression::Lzx}) {
    SCOPED_TRACE(static_cast<int>(compression));
    TempDir temp;
    const auto cabinet = WriteCabinet(temp,
                                      {{"koS_1.dat", data},
                                       {"sub\\inner\\small.bin", small},
                                       {"locked.txt", small, 0x3A86, 0x8A32, 0x01 | 0x20 | 0x40}},  // read-only
                                      compression);
    TkoCabReader().ExtractFiles(cabinet, temp / "out", 0);
    EXPECT_EQ(cabtest::ReadTree(temp / "out"),
              (std::map<std::string, std::string>{{"koS_1.dat", {data.begin(), data.end()}},
                                                  {"locked.txt", {small.begin(), small.end()}},
                                                  {"sub/inner/small.bin", {small.begin(), small.end()}}}));
    EXPECT_TRUE(IsWritable(temp / "out" / "koS_1.dat"));
    EXPECT_FALSE(IsWritable(temp / "out" / "locked.txt"));
    std::filesystem::permissions(temp / "out" / "locked.txt", std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
  }
}

TEST(CabReaderExtract, MembersOverTheSizeLimitAreSkipped) {
  // (Names that would leave the destination are refused through every door: the name
  // rule, the public hostile cabinets and the film loader.)
  TempDir temp;
  const auto cabinet = WriteCabinet(
      temp, {{"small.dat", Pattern(1000, 1)}, {"exact.dat", Pattern(4096, 2)}, {"large.dat", Pattern(4097, 3)}},
      CabCompression::MsZip);
  TkoCabReader reader;
  reader.SetMemberSizeLimit(4096);
  reader.ExtractFiles(cabinet, temp / "dest", 0);
  EXPECT_EQ(cabtest::Snapshot(temp / "dest"),
            (std::map<std::string, int64_t>{{"exact.dat", 4096}, {"small.dat", 1000}}));
}

}  // namespace
