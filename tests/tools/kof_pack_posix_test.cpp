// kof pack as a user runs it: the film executable it writes holds the player, the
// language table and exactly the film's own bytes, and what it refuses leaves nothing
// behind.
#include <gtest/gtest.h>

#include "support/shell_quote.h"
#include "support/temp_dir.h"
#include "tools/kof_run.h"

using namespace filmwriter;
namespace fs = std::filesystem;

TEST(KofPack, PutsTheTableGivenAndExactlyTheFilmBehindThePlayerWhereverTheFilmLay) {
  TempDir dir;
  const Bytes film =
      BuildFilm({SmallSegment("one", 0x102030, Packing::MsZip), SmallSegment("two", 0x405060, Packing::MsZip)});
  const Bytes player(777, 'P');
  const std::string language = "Play = Start\r\nError=\xCE\xF8\xE8\xE1\xEA\xE0\r\n";  // 8-bit, as it stands
  WriteBytesToFile(dir / "player.exe", player);
  WriteBytesToFile(dir / "language.txt", Bytes(language.begin(), language.end()));
  const struct {
    const char* name;
    Bytes bytes;
  } sources[] = {
      {"plain film read from byte 0", film},
      {"film with trailer", WithTrailer(film)},
      {"another film executable", AppendedFilm(Bytes(300, 'Q'), "Stop=Halt", film)},
  };
  // A table from a file, none, or the built-in one of a language named.
  const std::pair<std::string, std::string> languages[] = {{" --language " + Quoted(dir / "language.txt"), language},
                                                           {"", ""},
                                                           {" --language en", Kof("texts --language en").out},
                                                           {" --language ru", Kof("texts --language ru").out}};
  for (const auto& source : sources) {
    SCOPED_TRACE(source.name);
    WriteBytesToFile(dir / "source.kof", source.bytes);
    for (const auto& [option, table] : languages) {
      SCOPED_TRACE(option);
      ASSERT_EQ(Kof("pack " + Quoted(dir / "source.kof") + " --player " + Quoted(dir / "player.exe") + option +
                    " -o " + Quoted(dir / "out.exe"))
                    .exitCode,
                0);
      // The layout the player's loader reads (its own tests read AppendedFilm's films).
      EXPECT_EQ(ReadBytesFromFile(dir / "out.exe"), AppendedFilm(player, table, film));
    }
  }
}

TEST(KofPack, RefusesWhatItCannotPackAndLeavesNoOutputBehind) {
  TempDir dir;
  const Bytes film = BuildFilm({SmallSegment("one", 0x102030, Packing::MsZip)});
  WriteBytesToFile(dir / "film.kof", WithTrailer(film));
  WriteBytesToFile(dir / "player.exe", Bytes(500, 'P'));
  WriteBytesToFile(dir / "carrier.exe", AppendedFilm(Bytes(500, 'P'), "", film));
  WriteBytesToFile(dir / "zeros.kof", Bytes(64, 0));
  fs::create_directory(dir / "taken");
  const std::string filmArg = Quoted(dir / "film.kof"), player = " --player " + Quoted(dir / "player.exe");
  const std::string out = " -o " + Quoted(dir / "out.exe");
  const struct {
    std::string arguments;
    int exitCode;
    const char* message;
  } cases[] = {
      {filmArg + " --player " + Quoted(dir / "carrier.exe") + out, 1, "already carries a film"},
      {Quoted(dir / "zeros.kof") + player + out, 1, "zeros.kof: not a film"},
      {Quoted(dir / "player.exe") + player + out, 1, "player.exe: not a film"},
      {Quoted(dir / "missing.kof") + player + out, 1, "missing.kof: no such file"},
      {filmArg + " --player " + Quoted(dir / "missing.exe") + out, 1, "missing.exe: no such file"},
      {filmArg + player + " --language " + Quoted(dir / "missing.txt") + out, 1, "missing.txt: no such file"},
      {filmArg + player + " -o " + Quoted(dir / "taken"), 1, "cannot write"},
      {filmArg + player + " -o " + Quoted(dir / "no" / "such" / "out.exe"), 1, "cannot write"},
      {filmArg + out, 2, "usage: kof pack"},
      {filmArg + player, 2, "usage: kof pack"},
      {filmArg + " " + filmArg + player + out, 2, "usage: kof pack"},
      {filmArg + player + out + " --verbose", 2, "usage: kof pack"},
  };
  const auto filesBefore = std::distance(fs::directory_iterator(dir.path()), {});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    const KofRun run = Kof("pack " + c.arguments, "", true);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_NE(run.out.find(c.message), std::string::npos) << run.out;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1) << "one line: " << run.out;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), filesBefore) << "a file was left";
    EXPECT_TRUE(fs::is_empty(dir / "taken"));
  }
}
