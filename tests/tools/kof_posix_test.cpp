// kof as a user runs it: the real binary on films made by the film writer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "support/shell_quote.h"
#include "support/temp_dir.h"
#include "tools/kof_run.h"

using namespace filmwriter;

TEST(Kof, InfoDescribesEverySegmentOfAFilmBehindAnExecutable) {
  TempDir dir;
  SegmentSpec lzma = SmallSegment("\xCF\xF0\xE8\xEC\xE5\xF0", 0x123456, Packing::Lzma);  // "Пример" in 1251
  lzma.sound = Bytes{'I', 'D', '3', 1, 2, 3};
  SegmentSpec later = SmallSegment("later", 0x10);
  later.version = 2;
  SegmentSpec other = SmallSegment("other", 0x20);
  other.indexKind = 7;
  SegmentSpec unknownPacking = SmallSegment("odd", 0x30);
  unknownPacking.header.flags = 0x1000;
  const Bytes film = BuildFilm({lzma, later, other, unknownPacking, SmallSegment("zip", 0x40, Packing::MsZip)});
  const Bytes executable(300, 'M');
  WriteBytesToFile(dir / "film.exe", AppendedFilm(executable, "Error=Oops\r\n", film));

  // Segments count as the player lists them; the entries that give none have no index.
  // The film lies behind the 300-byte program, the 12-byte language block and its length.
  const std::pair<const char*, std::vector<std::string>> expected[] = {
      {" --json",
       {"\"found\":\"trailer\"", "\"film_offset\":316", "\"language_length\":12", "\"name\":\"Пример\"",
        "\"packing\":\"lzma\",\"sound\":\"mp3\"", "{\"index\":1,\"entry\":1,\"kind\":1,",
        "{\"index\":null,\"entry\":2,\"kind\":1,\"version\":2", "{\"index\":null,\"entry\":3,\"kind\":7,",
        "\"warning\":\"an index entry of kind 7 is not a segment\"", "{\"index\":2,\"entry\":4,",
        "{\"index\":3,\"entry\":5,", "\"name\":\"zip\",\"playable\":true", "\"warnings\":[\"Сегмент 2",
        // Unknown packing gives no data file.
        "\"packing\":\"none\",\"sound\":\"-\",\"name\":\"\",\"playable\":false"}},
      {"",
       {"segments: 3, from 5 index entries\nsegment 1 (index entry 1): kind 1 v0 6x4",
        "\nindex entry 3, no segment: kind 7 not playable\n", "\nsegment 3 (index entry 5): "}},
      {" --json --codepage 1252", {"\"name\":\"Ïðèìåð\""}},
  };
  for (const auto& [options, parts] : expected) {
    const KofRun run = Kof("info " + Quoted(dir / "film.exe") + options);
    ASSERT_EQ(run.exitCode, 0) << options;
    for (const std::string& part : parts) EXPECT_NE(run.out.find(part), std::string::npos) << part << " in " << run.out;
  }
}

// A segment's name is the film's to choose: its control characters are shown, never sent
// to the terminal, in both outputs.
TEST(Kof, InfoEscapesTheControlCharactersOfANameInBothOutputs) {
  TempDir dir;
  WriteBytesToFile(dir / "film.kof", BuildFilm({SmallSegment("\x1b]0;owned\x07\x7f", 0x10)}));
  const std::pair<const char*, const char*> expected[] = {{"", "\\x1b]0;owned\\x07\\x7f"},
                                                         {" --json", "\\u001b]0;owned\\u0007\\u007f"}};
  for (const auto& [options, shown] : expected) {
    const KofRun run = Kof("info " + Quoted(dir / "film.kof") + options);
    ASSERT_EQ(run.exitCode, 0) << options;
    EXPECT_NE(run.out.find(shown), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find_first_of("\x1b\x07\x7f"), std::string::npos) << options;
  }
}

TEST(Kof, ExtractGivesBackTheDataAndSoundTheFilmWasWrittenWith) {
  TempDir dir;
  SegmentSpec first = SmallSegment("first", 0x112233, Packing::Lzx);
  first.sound = Bytes(70000, 0x5A);
  SegmentSpec second = SmallSegment("second", 0x445566, Packing::LzmaUnknownSize);
  const BuiltFilm film = BuildFilmDetailed({first, second});
  WriteBytesToFile(dir / "film.kof", film.bytes);  // no trailer: read from byte 0

  const KofRun run = Kof("extract " + Quoted(dir / "film.kof") + " " + Quoted(dir / "out"));
  ASSERT_EQ(run.exitCode, 0);
  EXPECT_EQ(ReadBytesFromFile(dir / "out" / "seg001.dat"), film.segments[0].data.bytes);
  EXPECT_EQ(ReadBytesFromFile(dir / "out" / "seg001.mp3"), first.sound);
  EXPECT_EQ(ReadBytesFromFile(dir / "out" / "seg002.dat"), film.segments[1].data.bytes);
  EXPECT_FALSE(std::filesystem::exists(dir / "out" / "seg002.mp3"));
  EXPECT_FALSE(std::filesystem::exists(dir / "out" / "language.txt"));

  const KofRun info = Kof("info " + Quoted(dir / "film.kof"));
  EXPECT_NE(info.out.find("film: from byte 0"), std::string::npos) << info.out;
}

TEST(Kof, ExitCodesTellUsageFromBadFilms) {
  TempDir dir;
  WriteBytesToFile(dir / "zero.kof", Bytes(64, 0));
  WriteBytesToFile(dir / "tiny.kof", Bytes{1, 2});
  const KofRun help = Kof("--help");
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("Segments are numbered from 1"), std::string::npos) << help.out;
  const std::string zero = Quoted(dir / "zero.kof");
  const std::pair<std::string, int> runs[] = {
      {"", 2}, {"frobnicate x", 2}, {"info", 2}, {"extract " + zero, 2}, {"info " + zero, 1},
      {"info " + Quoted(dir / "tiny.kof"), 1}, {"info " + Quoted(dir / "missing.kof"), 1},
      {"info " + zero + " --codepage 99999", 1}};
  for (const auto& [arguments, code] : runs) EXPECT_EQ(Kof(arguments).exitCode, code) << arguments;
}

TEST(Kof, TheDemoFilmLoadsWithEverySegmentPlayableAndItsTextIsFound) {
  TempDir dir;
  const std::string film = Quoted(dir / "demo.kof");
  ASSERT_EQ(std::system((std::string("'") + RZ_DEMO_FILM_MAKER + "' " + film).c_str()), 0);
  const KofRun info = Kof("info " + film + " --json");
  ASSERT_EQ(info.exitCode, 0);
  EXPECT_NE(info.out.find("\"warnings\":[]"), std::string::npos) << info.out;
  EXPECT_EQ(info.out.find("\"playable\":false"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("\"index\":3,\"entry\":3"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("\"width\":800,\"height\":600"), std::string::npos) << "grows the window: " << info.out;
  EXPECT_NE(info.out.find("\"sound\":\"mp3\""), std::string::npos) << info.out;
  EXPECT_EQ(Kof("frames " + film + " --segment 1 --out " + Quoted(dir / "frames")).exitCode, 0);
  ASSERT_EQ(Kof("index " + film).exitCode, 0);
  const KofRun typed = Kof("search " + film + " 'plays it back'");
  EXPECT_NE(typed.out.find("segment 1  "), std::string::npos) << typed.out;
  const KofRun menu = Kof("search " + film + " save");
  EXPECT_NE(menu.out.find("segment 2  0:01.5  Save"), std::string::npos) << "the File menu opens: " << menu.out;
}
