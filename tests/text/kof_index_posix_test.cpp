// kof index and kof search as a user runs them: batches, failures, messages and output.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "film/film_identity.h"
#include "support/temp_dir.h"
#include "support/text_films.h"
#include "tools/kof_run.h"

namespace fs = std::filesystem;

namespace {
std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

void WriteText(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// A film of one screen of text; returns the first word of its menu bar.
std::string WriteTextFilm(const fs::path& path) {
  const textfilms::TextFilm film = textfilms::MakeTextFilm({{filmwriter::FontFace::DejaVuSans, 10}});
  filmwriter::WriteBytesToFile(path, filmwriter::WithTrailer(filmwriter::BuildFilm(film.segments)));
  return film.words.front().text;
}

// The menu's index beside a film (any bytes: the index is tied to them), made of it.
TTextIndex MenuIndex(const fs::path& film) {
  WriteText(film, "the film's bytes");
  TTextIndex index;
  index.Film = "lesson.kof";
  index.FilmIdentity = FilmIdentity(film);
  index.Segments = {{800, 600}, {800, 600}};
  index.Words = {{"Open", 90, 1, {10, 10, 40, 20}, 1.5, 5},
                 {"Settings...", 90, 1, {44, 10, 104, 20}, 1.5, 5},
                 {"Настройки", 90, 2, {10, 10, 70, 20}, 62.25, 70}};
  return index;
}

TEST(KofSearch, PrintsEveryHitWithSegmentTimeAndLine) {
  TempDir dir;
  WriteText(dir / "lesson.kof.words.json", TextIndexDocument(MenuIndex(dir / "lesson.kof")));
  const KofRun plain = RunProgram(RZ_KOF_PATH, "search " + Quoted(dir / "lesson.kof") + " 'open SETT'");
  EXPECT_EQ(plain.exitCode, 0);
  EXPECT_EQ(plain.out, "segment 1  0:01.5  Open Settings...\n");
  const KofRun cyrillic = RunProgram(RZ_KOF_PATH, "search " + Quoted(dir / "lesson.kof") + " НАСТР --json");
  EXPECT_EQ(cyrillic.exitCode, 0);
  EXPECT_EQ(cyrillic.out, "[\n{\"segment\":2,\"time\":62.25,\"box\":[10,10,60,10],\"text\":\"Настройки\"}\n]\n");
  const KofRun none = RunProgram(RZ_KOF_PATH, "search " + Quoted(dir / "lesson.kof") + " nowhere --json");
  EXPECT_EQ(none.out, "[]\n");
}

// A word's control characters would reach the terminal as its escape sequences.
TEST(KofSearch, PrintsControlCharactersEscaped) {
  TempDir dir;
  TTextIndex index = MenuIndex(dir / "lesson.kof");
  index.Words[1].Text = "\x1b]0;owned\x07Settings\xc2\x9b" "2J";
  WriteText(dir / "lesson.kof.words.json", TextIndexDocument(index));
  const KofRun plain = RunProgram(RZ_KOF_PATH, "search " + Quoted(dir / "lesson.kof") + " open");
  EXPECT_EQ(plain.out, "segment 1  0:01.5  Open \\x1b]0;owned\\x07Settings\\u009b2J\n");
  const KofRun json = RunProgram(RZ_KOF_PATH, "search " + Quoted(dir / "lesson.kof") + " open --json");
  EXPECT_EQ(json.out.find('\x1b'), std::string::npos) << json.out;
}

// A text that starts with -- (an option a lesson shows) is searched for after --.
TEST(KofSearch, SearchesForAnOptionAfterDoubleDash) {
  TempDir dir;
  TTextIndex index = MenuIndex(dir / "lesson.kof");
  index.Words[1].Text = "--flag";
  WriteText(dir / "lesson.kof.words.json", TextIndexDocument(index));
  const KofRun run = RunProgram(RZ_KOF_PATH, "search " + Quoted(dir / "lesson.kof") + " --json -- --flag");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "[\n{\"segment\":1,\"time\":1.5,\"box\":[44,10,60,10],\"text\":\"Open --flag\"}\n]\n");
}

TEST(KofSearch, SaysWhatIsWrongWithTheIndexOrTheCommand) {
  TempDir dir;
  const std::string film = Quoted(dir / "lesson.kof");
  struct Case {
    const char* name;
    std::string index;  // beside the film; empty: none
    std::string arguments;
    int exitCode;
    std::string message;
  };
  const std::string path = (dir / "lesson.kof.words.json").string();
  TTextIndex other = MenuIndex(dir / "lesson.kof");
  other.FilmIdentity = "0123456789abcdef";
  std::string older = TextIndexDocument(MenuIndex(dir / "lesson.kof"));
  older.replace(older.find("\"version\":2"), 11, "\"version\":1");
  const std::string otherFilm = "kof: " + path + ": the text index belongs to another version of the film: make it again with kof index " +
                                (dir / "lesson.kof").string() + "\n";
  const Case cases[] = {
      {"another version's", TextIndexDocument(other), film + " open", 1, otherFilm},
      {"older, without the film's identity", older, film + " open", 1, otherFilm},
      {"no index", "", film + " open", 1,
       "kof: no text index beside the film (" + path + "): make it with kof index " + (dir / "lesson.kof").string() +
           "\n"},
      {"damaged", "{\"format\": \"roRezodu text index\", \"version\": 1, \"film\": 3}", film + " open", 1,
       "kof: " + path + ": damaged text index: the document \"film\" is not text\n"},
      {"too new", "{\"format\": \"roRezodu text index\", \"version\": 9}", film + " open", 1,
       "kof: " + path +
           ": the text index is of version 9, newer than this program reads (2): make it again with this "
           "kof index\n"},
      {"no text", "", film, 2, "usage: kof search FILM [--] TEXT [--json]\n"},
      {"unknown option", "", film + " open --all", 2, "usage: kof search FILM [--] TEXT [--json]\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(path);
    if (!c.index.empty()) WriteText(path, c.index);
    const KofRun run = RunProgram(RZ_KOF_PATH, "search " + c.arguments, "", true);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.out, c.message);
  }
}

// Each index goes beside its film: films of one name in two folders get one each.
TEST(KofIndex, ABatchIndexesTheGoodFilmsAndReportsTheBadOnesLeavingNoPartialIndex) {
  TempDir dir;
  const std::string word = WriteTextFilm(dir / "good.kof");
  fs::create_directories(dir / "other");
  fs::copy_file(dir / "good.kof", dir / "other" / "good.kof");
  WriteText(dir / "bad.kof", "not a film at all");
  const KofRun run = RunProgram(RZ_KOF_PATH,
                                "index -j 2 --languages eng " + Quoted(dir / "good.kof") + " " +
                                    Quoted(dir / "bad.kof") + " " + Quoted(dir / "other" / "good.kof"),
                                "", true);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.out.find("kof: " + (dir / "bad.kof").string() + ": not a film"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("kof: 2 of 3 films indexed; failed: " + (dir / "bad.kof").string()), std::string::npos)
      << run.out;
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
    files.push_back(fs::relative(entry.path(), dir.path()).string());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"bad.kof", "good.kof", "good.kof.words.json", "other",
                                             "other/good.kof", "other/good.kof.words.json"}));
  const KofRun search = RunProgram(RZ_KOF_PATH, "search " + Quoted(dir / "good.kof") + " " + word);
  EXPECT_EQ(search.exitCode, 0);
  EXPECT_NE(search.out.find("segment 1  0:00.0  " + word), std::string::npos) << search.out;
}

TEST(KofIndex, WritesOneFilmsIndexWhereToldAndANewerOneOverAnOlder) {
  TempDir dir;
  const std::string word = WriteTextFilm(dir / "film.kof");
  WriteText(dir / "elsewhere.json", "an index of long ago");
  const KofRun run =
      RunProgram(RZ_KOF_PATH, "index " + Quoted(dir / "film.kof") + " -o " + Quoted(dir / "elsewhere.json"), "", true);
  ASSERT_EQ(run.exitCode, 0) << run.out;
  EXPECT_FALSE(fs::exists(dir / "film.kof.words.json"));
  std::ifstream file(dir / "elsewhere.json", std::ios::binary);
  const std::string document((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_NE(document.find("\"text\":\"" + word + "\""), std::string::npos) << document.substr(0, 400);
}

TEST(KofIndex, TheDemoFilmsTextIsRealText) {
  TempDir dir;
  ASSERT_EQ(std::system(("'" + std::string(RZ_DEMO_FILM_MAKER) + "' " + Quoted(dir / "demo.kof")).c_str()), 0);
  ASSERT_EQ(RunProgram(RZ_KOF_PATH, "index " + Quoted(dir / "demo.kof")).exitCode, 0);
  const KofRun typed = RunProgram(RZ_KOF_PATH, "search " + Quoted(dir / "demo.kof") + " 'plays it back'");
  EXPECT_NE(typed.out.find("segment 1  "), std::string::npos) << typed.out;
  const KofRun menu = RunProgram(RZ_KOF_PATH, "search " + Quoted(dir / "demo.kof") + " save");
  EXPECT_NE(menu.out.find("segment 2  0:01.5  Save"), std::string::npos) << "the File menu opens: " << menu.out;
}

TEST(KofIndex, RefusesWrongCommandLines) {
  for (const char* arguments :
       {"", "a.kof b.kof -o x.json", "a.kof -j 0", "a.kof --languages 'eng;rm'", "a.kof --languages", "a.kof --fast"}) {
    SCOPED_TRACE(arguments);
    const KofRun run = RunProgram(RZ_KOF_PATH, std::string("index ") + arguments, "", true);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "usage: kof index FILM... [-o INDEX] [--languages eng+rus] [-j N]\n");
  }
}
}  // namespace
