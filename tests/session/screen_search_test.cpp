// Find on screen's rules: the index beside the film, what the search says without one
// or with a damaged one, stepping through hits, the list's lines and a hit's frame.
#include "session/screen_search.h"

#include <gtest/gtest.h>

#include <fstream>

#include "film/film_identity.h"
#include "support/temp_dir.h"

namespace {
void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// "Open Settings" at 1.5 s of segment 1, "Settings" alone at 4 s of segment 2, made of
// the film with that identity.
std::string SmallIndex(const std::string& identity) {
  TTextIndex index;
  index.Film = "lesson.kof";
  index.FilmIdentity = identity;
  index.Segments = {{800, 600}, {640, 480}};
  index.Words = {{"Open", 90, 1, {10, 10, 40, 20}, 1.5, 3},
                 {"Settings", 90, 1, {44, 10, 100, 20}, 1.5, 3},
                 {"Settings", 88, 2, {300, 100, 350, 110}, 4, 6}};
  return TextIndexDocument(index);
}

TTextHit HitAt(int32_t segment, double time) { return {0, segment, time, {}, ""}; }
}  // namespace

TEST(ScreenSearch, TheIndexIsTheFilmsNameWithTheSuffix) {
  const std::pair<const char*, const char*> cases[] = {
      {"lesson.kof", "lesson.kof.words.json"},
      {"/films/урок 1.kof", "/films/урок 1.kof.words.json"},
      // A film executable: the player's own file.
      {"/films/lesson.exe", "/films/lesson.exe.words.json"},
  };
  for (const auto& [film, index] : cases) EXPECT_EQ(TextIndexBeside(film), std::filesystem::path(index)) << film;
}

TEST(ScreenSearch, SaysWhatIsWrongWithTheIndexOrHowManyHits) {
  const TUiTexts english(TUiLanguage::kEnglish), russian(TUiLanguage::kRussian);
  TempDir folder;
  const auto film = folder / "lesson.kof";
  WriteFile(film, "the film's bytes");
  const std::string good = SmallIndex(FilmIdentity(film));
  std::string older = good;
  older.replace(older.find("\"version\":2"), 11, "\"version\":1");
  struct Case {
    const char* what;
    std::optional<std::string> document;  // none: no file
    const char* query;
    TIndexProblem problem;
    size_t hits;
    std::string english;
  };
  const Case cases[] = {
      {"none", std::nullopt, "open", TIndexProblem::kMissing, 0,
       "There is no text index beside the film (lesson.kof.words.json). Make it with: kof index lesson.kof"},
      {"not JSON", "{\"format\": ", "open", TIndexProblem::kDamaged, 0, "The text index cannot be read: "},
      {"another version's", SmallIndex("0123456789abcdef"), "open", TIndexProblem::kOtherFilm, 0,
       "The text index belongs to another version of this film — make it again"},
      {"older, without the film's identity", older, "open", TIndexProblem::kOtherFilm, 0,
       "The text index belongs to another version of this film — make it again"},
      {"good", good, "settings", TIndexProblem::kNone, 2, "2 matches"},
      {"good, a phrase", good, "open sett", TIndexProblem::kNone, 1, "1 match"},
      {"good, nothing", good, "close", TIndexProblem::kNone, 0, "No matches"},
      {"good, nothing typed", good, " ", TIndexProblem::kNone, 0, "Type a word that was on screen"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(TextIndexBeside(film));
    if (c.document) WriteFile(TextIndexBeside(film), *c.document);
    TScreenSearch search;
    search.Open(film);
    search.Find(c.query);
    EXPECT_EQ(search.Problem(), c.problem);
    EXPECT_EQ(search.HasIndex(), c.problem == TIndexProblem::kNone);
    EXPECT_EQ(search.Hits().size(), c.hits);
    const std::string status = search.Status(english);
    EXPECT_EQ(status.substr(0, c.english.size()), c.english);
    // A damaged index shows the reader's own message behind the text.
    if (c.problem == TIndexProblem::kDamaged) {
      EXPECT_NE(status.find("text index"), std::string::npos) << status;
    }
    EXPECT_NE(search.Status(russian), status);
  }
}

TEST(ScreenSearch, OpeningAnotherFilmForgetsTheHitsAndChoiceBefore) {
  TempDir folder;
  WriteFile(folder / "a.kof", "the film's bytes");
  WriteFile(TextIndexBeside(folder / "a.kof"), SmallIndex(FilmIdentity(folder / "a.kof")));
  TScreenSearch search;
  search.Open(folder / "a.kof");
  search.Find("settings");
  search.Choose(1);
  EXPECT_EQ(search.Chosen(), std::optional<size_t>(1));
  search.Choose(2);  // past the hits: none chosen
  EXPECT_EQ(search.Chosen(), std::nullopt);
  search.Choose(1);
  search.Open(folder / "b.kof");
  EXPECT_EQ(search.Problem(), TIndexProblem::kMissing);
  EXPECT_TRUE(search.Hits().empty());
  EXPECT_EQ(search.Chosen(), std::nullopt);
  // Back to the first: the query typed is searched again.
  search.Open(folder / "a.kof");
  EXPECT_EQ(search.Hits().size(), 2u);
}

TEST(ScreenSearch, StepsRoundTheHitsFromTheChosenOneOrThePlaceShown) {
  // Segment 1 at 2 s and 5 s, segment 2 at 1 s.
  const std::vector<TTextHit> hits = {HitAt(1, 2), HitAt(1, 5), HitAt(2, 1)};
  struct Case {
    std::optional<size_t> chosen;
    bool forward;
    TShownPlace shown;  // segment from 0
    std::optional<size_t> expected;
  };
  const Case cases[] = {
      {0, true, {}, 1},
      {2, true, {}, 0},
      {0, false, {}, 2},
      {1, false, {1, 9}, 0},
      // None chosen: from the place shown.
      {std::nullopt, true, {0, 0}, 0},
      {std::nullopt, true, {0, 2}, 0},  // a hit at the place shown is the next
      {std::nullopt, true, {0, 2.1}, 1},
      {std::nullopt, true, {0, 9}, 2},
      {std::nullopt, true, {1, 3}, 0},  // past the last: round to the first
      {std::nullopt, false, {0, 5}, 0},
      {std::nullopt, false, {1, 0}, 1},
      {std::nullopt, false, {0, 1}, 2},  // before the first: round to the last
      // A choice from another list of hits is not taken.
      {7, true, {1, 0}, 2},
  };
  for (const Case& c : cases)
    EXPECT_EQ(StepHit(hits, c.chosen, c.forward, c.shown), c.expected)
        << c.chosen.value_or(99) << " " << c.forward << " " << c.shown.Segment << " " << c.shown.Seconds;
  EXPECT_EQ(StepHit({}, std::nullopt, true, {}), std::nullopt);
  EXPECT_EQ(StepHit({}, 0, false, {}), std::nullopt);
}

TEST(ScreenSearch, TheListLineHasTimeSegmentAndText) {
  const TTextHit hit{3, 2, 62.46, {}, "Open Settings..."};
  EXPECT_EQ(HitListLine(hit, TUiTexts(TUiLanguage::kEnglish)), "1:02.5   segment 2   Open Settings...");
  EXPECT_EQ(HitListLine(hit, TUiTexts(TUiLanguage::kRussian)), "1:02.5   сегмент 2   Open Settings...");
}

TEST(ScreenSearch, AHitsFrameIsTheOneOfItsTime) {
  struct Case {
    double seconds;
    int32_t rate, frames, expected;
  };
  const Case cases[] = {
      {0, 10, 50, 0},   {1.5, 10, 50, 15}, {1.0 / 3, 3, 50, 1},  // kof index's time of frame 1
      {4.99, 10, 50, 49}, {9, 10, 50, 49},                      // within the segment
      {2, 0, 50, 2},                                            // no rate: 1 a second
      {-1, 10, 50, 0},  {1, 10, 0, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(HitFrame(c.seconds, c.rate, c.frames), c.expected) << c.seconds << " " << c.rate;
}
