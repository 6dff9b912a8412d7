// kof index and kof search as a user runs them: batches, failures, messages and output.
#include <gtest/gtest.h>

#include <fstream>

#include "film/film_identity.h"
#include "support/shell_quote.h"
#include "support/temp_dir.h"
#include "support/text_films.h"
#include "tools/kof_run.h"

namespace fs = std::filesystem;

namespace {
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

// A word's control characters would reach the terminal as its escape sequences.
TEST(KofSearch, PrintsEveryHitWithItsLineEscapedAndTakesATextAfterDoubleDash) {
  TempDir dir;
  TTextIndex index = MenuIndex(dir / "lesson.kof");
  index.Words[1].Text = "Settings...\x1b]0;owned\x07\xc2\x9b" "2J";
  WriteText(dir / "lesson.kof.words.json", TextIndexDocument(index));
  const KofRun plain = Kof("search " + Quoted(dir / "lesson.kof") + " 'open SETT'");
  EXPECT_EQ(plain.exitCode, 0);
  EXPECT_EQ(plain.out, "segment 1  0:01.5  Open Settings...\\x1b]0;owned\\x07\\u009b2J\n");
  index.Words[1].Text = "Settings\x1b\x7f\xc2\x9b";
  WriteText(dir / "lesson.kof.words.json", TextIndexDocument(index));
  EXPECT_EQ(Kof("search " + Quoted(dir / "lesson.kof") + " open --json").out,
            "[\n{\"segment\":1,\"time\":1.5,\"box\":[10,10,30,10],\"text\":\"Open Settings\\u001b\\u007f\\u009b\"}\n]\n");
  const KofRun cyrillic = Kof("search " + Quoted(dir / "lesson.kof") + " НАСТР --json");
  EXPECT_EQ(cyrillic.exitCode, 0);
  EXPECT_EQ(cyrillic.out, "[\n{\"segment\":2,\"time\":62.25,\"box\":[10,10,60,10],\"text\":\"Настройки\"}\n]\n");
  const KofRun none = Kof("search " + Quoted(dir / "lesson.kof") + " nowhere --json");
  EXPECT_EQ(none.out, "[]\n");
  // A text that starts with -- (an option a lesson shows) is searched for after --.
  index.Words[1].Text = "--flag";
  WriteText(dir / "lesson.kof.words.json", TextIndexDocument(index));
  const KofRun option = Kof("search " + Quoted(dir / "lesson.kof") + " --json -- --flag");
  EXPECT_EQ(option.exitCode, 0);
  EXPECT_EQ(option.out, "[\n{\"segment\":1,\"time\":1.5,\"box\":[44,10,60,10],\"text\":\"Open --flag\"}\n]\n");
}

TEST(KofSearchAndIndex, SayWhatIsWrongWithTheIndexOrTheCommand) {
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
  const std::string otherFilm = "kof: " + path + ": the text index belongs to another version of the film: make it again with kof index " +
                                (dir / "lesson.kof").string() + "\n";
  std::vector<Case> cases = {
      {"another version's", TextIndexDocument(other), "search " + film + " open", 1, otherFilm},
      {"no index", "", "search " + film + " open", 1,
       "kof: no text index beside the film (" + path + "): make it with kof index " + (dir / "lesson.kof").string() +
           "\n"},
      {"damaged", "{\"format\": \"roRezodu text index\", \"version\": 1, \"film\": 3}", "search " + film + " open", 1,
       "kof: " + path + ": damaged text index: the document \"film\" is not text\n"},
      {"no text", "", "search " + film, 2, "usage: kof search FILM [--] TEXT [--json]\n"},
      {"unknown option", "", "search " + film + " open --all", 2, "usage: kof search FILM [--] TEXT [--json]\n"},
  };
  for (const char* wrong :
       {"", "a.kof b.kof -o x.json", "a.kof -j 0", "a.kof --languages 'eng;rm'", "a.kof --languages", "a.kof --fast"})
    cases.push_back({"kof index's usage", "", std::string("index ") + wrong, 2,
                     "usage: kof index FILM... [-o INDEX] [--languages eng+rus] [-j N]\n"});
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + ": " + c.arguments);
    fs::remove(path);
    if (!c.index.empty()) WriteText(path, c.index);
    const KofRun run = Kof(c.arguments, "", true);
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
  const KofRun run = Kof("index -j 2 --languages eng " + Quoted(dir / "good.kof") + " " + Quoted(dir / "bad.kof") +
                             " " + Quoted(dir / "other" / "good.kof"),
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
  const KofRun search = Kof("search " + Quoted(dir / "good.kof") + " " + word);
  EXPECT_EQ(search.exitCode, 0);
  EXPECT_NE(search.out.find("segment 1  0:00.0  " + word), std::string::npos) << search.out;
}

}  // namespace
