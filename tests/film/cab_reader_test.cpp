// The reader on cabinets made by the film writer: listing, where members land, their
// dates and attributes, the size limit and names that must not be extracted.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>

#include "film/ko_cab.h"
#include "support/cab_test_support.h"
#include "writer/cabinet_writer.h"
#include "support/temp_dir.h"

namespace {

using filmwriter::Bytes;
using filmwriter::CabCompression;
using filmwriter::CabMember;

Bytes Pattern(size_t size, uint8_t seed) {
  Bytes bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>((i * 7 + seed) ^ (i >> 8));
  return bytes;
}

std::filesystem::path WriteCabinet(const TempDir& temp, const std::vector<CabMember>& members,
                                   CabCompression compression = CabCompression::Stored) {
  const auto path = temp / "test.cab";
  filmwriter::WriteBytesToFile(path, filmwriter::BuildCabinet(members, {compression}));
  return path;
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
                     uint16_t time, uint16_t attributes, bool&) {
    listed.push_back(FormatText("%s %u %u %04X %04X %02X", name.c_str(), size, folder, date, time, attributes));
  };
  ASSERT_TRUE(reader.EnumFiles(cabinet, collect));
  EXPECT_EQ(listed, (std::vector<std::string>{"first.dat 10 0 3A86 8A32 20", "sub\\second.txt 0 0 1111 2222 01",
                                              "third 70000 0 4321 1234 A1"}));
  int calls = 0;
  EXPECT_TRUE(reader.EnumFiles(cabinet, [&](TkoCabReader&, const std::string&, uint32_t, uint16_t, uint16_t,
                                            uint16_t, uint16_t, bool& stop) { stop = ++calls == 2; }));
  EXPECT_EQ(calls, 2);

  // Not cabinets: not listed; missing files raise.
  filmwriter::WriteBytesToFile(temp / "plain.txt", Bytes(200, 'M'));
  filmwriter::WriteBytesToFile(temp / "empty", {});
  listed.clear();
  EXPECT_FALSE(reader.EnumFiles(temp / "plain.txt", collect));
  EXPECT_FALSE(reader.EnumFiles(temp / "empty", collect));
  EXPECT_FALSE(reader.EnumFiles(cabtest::TestCabinet("cabd__bad_signature"), collect));
  EXPECT_FALSE(reader.IsCabinet(temp / "plain.txt"));
  EXPECT_THROW(reader.EnumFiles(temp / "missing.cab", collect), EkoError);
  EXPECT_THROW(reader.IsCabinet(temp / "missing.cab"), EkoError);
  EXPECT_TRUE(listed.empty());
}

TEST(CabReaderExtract, MembersLandWithTheirBytesFoldersDatesAndReadOnlyBit) {
  std::tm fields{};  // the members' date and time, in local time
  fields.tm_year = 2009 - 1900, fields.tm_mon = 4 - 1, fields.tm_mday = 6;
  fields.tm_hour = 17, fields.tm_min = 13, fields.tm_sec = 36, fields.tm_isdst = -1;
  const int64_t stamp = std::mktime(&fields);
  const uint16_t date = ((2009 - 1980) << 9) | (4 << 5) | 6, time = (17 << 11) | (13 << 5) | (36 / 2);
  const Bytes data = Pattern(100000, 9), small = Pattern(33, 4);
  for (const auto compression : {CabCompression::Stored, CabCompression::MsZip, CabCompression::Lzx}) {
    TempDir temp;
    const auto cabinet = WriteCabinet(temp,
                                      {{"koS_20090406171336123.dat", data, date, time, 0x20},
                                       {"sub\\inner\\small.bin", small, date, time, 0x20},
                                       {"locked.txt", small, date, time, 0x01 | 0x20 | 0x40}},
                                      compression);
    const auto destination = temp / "out";
    TkoCabReader().ExtractFiles(cabinet, destination, 0);
    const auto files = cabtest::ReadTree(destination);
    ASSERT_EQ(files.size(), 3u) << "compression " << static_cast<int>(compression);
    EXPECT_EQ(files.at("koS_20090406171336123.dat"), std::string(data.begin(), data.end()));
    EXPECT_EQ(files.at("sub/inner/small.bin"), std::string(small.begin(), small.end()));
    const auto written = std::filesystem::last_write_time(destination / "koS_20090406171336123.dat");
    EXPECT_EQ(std::chrono::duration_cast<std::chrono::seconds>(
                  std::chrono::file_clock::to_sys(written).time_since_epoch()).count(), stamp);
    EXPECT_TRUE(IsWritable(destination / "koS_20090406171336123.dat"));
    EXPECT_FALSE(IsWritable(destination / "locked.txt"));
    std::filesystem::permissions(destination / "locked.txt", std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
  }
}

TEST(CabReaderExtract, ExistingTargetsAreOverwrittenInPlace) {
  TempDir temp;
  const auto cabinet = WriteCabinet(temp, {{"a.dat", Bytes{'n', 'e', 'w'}}});
  const auto destination = temp / "out";
  std::filesystem::create_directories(destination);
  // A longer file keeps its tail: the target is written from its start, not emptied.
  filmwriter::WriteBytesToFile(destination / "a.dat", Bytes{'o', 'l', 'd', 'e', 'r'});
  TkoCabReader reader;
  reader.ExtractFiles(cabinet, destination, 0);
  EXPECT_EQ(cabtest::ReadTree(destination).at("a.dat"), "newer");

  // A read-only target is overwritten, unless asked to leave read-only files alone.
  filmwriter::WriteBytesToFile(destination / "a.dat", Bytes{'R', 'O', 'X'});
  std::filesystem::permissions(destination / "a.dat", std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  reader.ExtractFiles(cabinet, destination, kCabSkipReadOnly);
  EXPECT_EQ(cabtest::ReadTree(destination).at("a.dat"), "ROX");
  reader.ExtractFiles(cabinet, destination, 0);
  EXPECT_EQ(cabtest::ReadTree(destination).at("a.dat"), "new");
}

TEST(CabReaderExtract, MembersOverTheSizeLimitAndHostileNamesAreSkipped) {
  TempDir temp;
  const auto nest = temp / "a" / "b";
  std::filesystem::create_directories(nest);
  const Bytes payload{'x'};
  const auto cabinet = WriteCabinet(temp,
                                    {{"..\\..\\..\\escaped.txt", payload},
                                     {"sub/../../escaped.txt", payload},
                                     {"\\escaped.txt", payload},
                                     {"C:escaped.txt", payload},
                                     {"small.dat", Pattern(1000, 1)},
                                     {"exact.dat", Pattern(4096, 2)},
                                     {"large.dat", Pattern(4097, 3)}},
                                    CabCompression::MsZip);
  const auto before = cabtest::Snapshot(temp.path());
  TkoCabReader reader;
  reader.SetMemberSizeLimit(4096);
  reader.ExtractFiles(cabinet, nest / "dest", 0);
  EXPECT_EQ(cabtest::Snapshot(temp.path(), nest / "dest"), before);
  std::vector<std::string> names;
  for (const auto& [name, contents] : cabtest::ReadTree(nest / "dest")) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"exact.dat", "small.dat"}));
}

}  // namespace
