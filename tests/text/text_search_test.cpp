// Searching an index: letters in any case (Latin and Cyrillic), whole words or their
// starts, phrases along a line of words on screen at the same time.
#include "text/text_search.h"

#include <gtest/gtest.h>

namespace {
// A screen of two segments; boxes are 10 pixels tall, words 4 pixels apart on a line.
TTextIndex Screen() {
  TTextIndex index;
  index.Segments = {{800, 600}, {800, 600}};
  const auto word = [&](const char* text, int32_t segment, int32_t left, int32_t top, int32_t width, double from,
                        double to) {
    index.Words.push_back({text, 90, segment, {left, top, left + width, top + 10}, from, to});
  };
  word("Open", 1, 10, 10, 30, 1, 5);         // 0  a menu line: "Open Settings..."
  word("Settings...", 1, 44, 10, 60, 1, 5);  // 1
  word("Save", 1, 10, 30, 30, 1, 5);         // 2  the next line
  word("Открыть", 1, 10, 50, 50, 2, 9);      // 3  "Открыть настройки"
  word("настройки", 1, 64, 50, 60, 2, 9);    // 4
  word("settings", 2, 300, 100, 50, 7, 8);   // 5  in the other segment, alone
  word("Open", 1, 10, 200, 30, 10, 12);      // 6  "Open" then, later, "Setup" beside it
  word("Setup", 1, 44, 200, 35, 13, 15);     // 7  never on screen with 6
  return index;
}

struct Hit {
  int32_t segment;
  double time;
  std::string line;
  bool operator==(const Hit&) const = default;
};

std::vector<Hit> Find(const TTextSearch& search, const std::string& query) {
  std::vector<Hit> hits;
  for (const TTextHit& h : search.Find(query).Hits) hits.push_back({h.Segment, h.Time, h.Line});
  return hits;
}

TEST(TextSearch, FindsWordStartsAndPhrasesOnOneLineInAnyCase) {
  const TTextIndex index = Screen();
  const TTextSearch search(index);
  struct Case {
    const char* query;
    std::vector<Hit> hits;
  };
  const Case cases[] = {
      {"settings", {{1, 1, "Open Settings..."}, {2, 7, "settings"}}},
      {"SETT", {{1, 1, "Open Settings..."}, {2, 7, "settings"}}},         // a word's start, any case
      {"ettings", {}},                                                    // not inside a word
      {"open sett", {{1, 1, "Open Settings..."}}},                        // a phrase, its last word begun
      {"ope settings", {}},                                               // earlier words whole
      {"open save", {}},                                                  // not on one line
      {"open setup", {}},                                                 // never on screen together
      {"settings...", {{1, 1, "Open Settings..."}, {2, 7, "settings"}}},  // punctuation is not part of words
      {"НАСТРОЙКИ", {{1, 2, "Открыть настройки"}}},                       // Cyrillic in any case
      {"открыть настр", {{1, 2, "Открыть настройки"}}},
      {"OTKP", {{1, 2, "Открыть настройки"}}},  // look-alike letters are one
      {"  ", {}},
      {"...", {}},
      {"open", {{1, 1, "Open Settings..."}, {1, 10, "Open"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.query);
    EXPECT_EQ(Find(search, c.query), c.hits);
  }
  const std::vector<TTextHit> phrase = search.Find("open settings").Hits;  // its box spans the phrase
  ASSERT_EQ(phrase.size(), 1u);
  EXPECT_EQ(phrase[0].Box, (TTextBox{10, 10, 104, 20}));
  EXPECT_EQ(phrase[0].Word, 0u);
}

// Words as a screen writes them, one line of them on screen together, and what finds them.
TEST(TextSearch, WordsAsScreensWriteThem) {
  struct Case {
    std::vector<const char*> line;
    const char* query;
    bool found;
  };
  const Case cases[] = {
      {{"C:\\Users\\file.txt"}, "Users", true},  // a path's parts are words
      {{"C:\\Users\\file.txt"}, "file.txt", true},
      {{"https://example.com/a/b"}, "example.com", true},  // an address's
      {{"https://example.com/a/b"}, "b", true},
      {{"user@mail.org"}, "mail", true},
      {{"C:\\Users\\file.txt", "opened"}, "file.txt opened", true},  // a part ends a phrase's word
      {{"C:\\Users\\file.txt", "opened"}, "users opened", false},    // not one in its middle
      {{"e-mail"}, "email", true},  // punctuation inside a word left out
      {{"e-mail"}, "mail", true},
      {{"3.14"}, "314", false},  // a number's point is never left out
      {{"3.14"}, "14", false},   // nor does it part the number
      {{"12:30"}, "1230", false},
      {{"ещё"}, "еще", true},  // ё is е
      {{"еще"}, "ЕЩЁ", true},
      {{"→Next"}, "next", true},  // symbols are not letters
      {{"✔Done"}, "done", true},
      {{"straße"}, "STRASSE", true},  // folding that changes a letter's length
      {{"STRASSE"}, "straße", true},
      {{"İstanbul"}, "istanbul", true},
      {{"ﬁle"}, "file", true},  // the reader's ligatures
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.line.front()) + " / " + c.query);
    TTextIndex index;
    index.Segments = {{800, 600}};
    int32_t left = 10;
    for (const char* text : c.line) {
      index.Words.push_back({text, 90, 1, {left, 10, left + 60, 20}, 0, 5});
      left += 64;
    }
    EXPECT_EQ(TTextSearch(index).Find(c.query).Hits.size(), c.found ? 1u : 0u);
  }
}

// A block of text of two lines, another column beside it, and a paragraph below: a
// phrase runs on to the line below in its block, and a word broken by a hyphen at the
// line's end is one word, but only with the start of the line below it, on screen at once.
TEST(TextSearch, APhraseRunsOnToTheLineBelowInItsBlock) {
  TTextIndex index;
  index.Segments = {{800, 600}};
  const auto word = [&](const char* text, int32_t left, int32_t top, int32_t width, double from = 0, double to = 5) {
    index.Words.push_back({text, 90, 1, {left, top, left + width, top + 10}, from, to});
  };
  word("Open", 10, 10, 30);
  word("the", 44, 10, 20);
  word("configu-", 68, 10, 52);
  word("ration", 10, 24, 40);
  word("dialog", 54, 24, 40);
  word("Cancel", 400, 10, 40);  // the column beside
  word("Apply", 400, 24, 40);
  word("Next", 10, 46, 30);  // a paragraph below, a line's height and more under it
  word("after-", 600, 10, 40, 0, 3);
  word("wards", 600, 24, 40, 3, 5);  // shown once the line above had gone
  const TTextSearch search(index);
  struct Case {
    const char* query;
    size_t hits;
  };
  const Case cases[] = {
      {"configuration", 1}, {"the configuration dialog", 1}, {"configurat", 1}, {"config", 1},
      {"ration dialog", 1}, {"cancel apply", 1},             {"the configuration cancel", 0},
      {"dialog next", 0},   {"open ration", 0},              {"afterwards", 0},
      {"configurations", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.query);
    EXPECT_EQ(search.Find(c.query).Hits.size(), c.hits);
  }
  const std::vector<TTextHit> broken = search.Find("configuration").Hits;
  ASSERT_EQ(broken.size(), 1u);
  EXPECT_EQ(broken[0].Box, (TTextBox{10, 10, 120, 34})) << "the box holds both halves";
  EXPECT_EQ(broken[0].Line, "Open the configu-");
}

// Words stacked in one place, each beside all the others (a document can say anything):
// every phrase of them is a path through all of them, yet a search takes steps in
// proportion to the words, not to the paths (which the search took minutes to walk).
TEST(TextSearch, StackedWordsTakeStepsInProportionToTheWords) {
  constexpr size_t kWords = 2000;
  TTextIndex index;
  index.Segments = {{800, 600}};
  for (size_t i = 0; i < kWords; ++i) index.Words.push_back({"a", 90, 1, {10, 10, 11, 20}, 0, 10});
  const TTextSearch search(index);
  for (const char* query : {"a a a a a a a a a a a a a a a b", "a a a a a a a a a a a a a a a a"}) {
    SCOPED_TRACE(query);
    const TTextFound found = search.Find(query);
    EXPECT_EQ(found.Hits.empty(), std::string(query).ends_with("b"));
    EXPECT_FALSE(found.Cut);
    // Each query word tries each word once and each link from it, and a word has at most
    // that many links to words on screen with it.
    EXPECT_LT(found.Steps, 16 * (kMostLeadersAtOnce + 1) * kWords);
  }
}

// A word that stays while the one beside it changes again and again (a clock) is linked
// to each of them, however many came before.
TEST(TextSearch, AWordFollowsEachOfTheWordsThatChangeBesideIt) {
  TTextIndex index;
  index.Segments = {{800, 600}};
  index.Words.push_back({"Time", 90, 1, {10, 10, 40, 20}, 0, 1000});
  for (int second = 0; second < 1000; ++second)
    index.Words.push_back({std::to_string(second), 90, 1, {44, 10, 70, 20}, double(second), second + 1.0});
  const TTextSearch search(index);
  for (const std::string number : {"0", "500", "999"}) {
    const TTextFound found = search.Find("time " + number);
    ASSERT_EQ(found.Hits.size(), 1u) << number;
    EXPECT_EQ(found.Hits[0].Line, "Time " + number);
  }
}

// More than a search may take stops it, with what was found until then.
TEST(TextSearch, ASearchThatWouldTakeTooLongStops) {
  TTextIndex index;
  index.Segments = {{800, 600}};
  for (int column = 0; column < 200; ++column)
    for (int i = 0; i < 64; ++i)
      index.Words.push_back({"a", 90, 1, {10 + column * 4, 10, 12 + column * 4, 20}, double(i), 1000.0 + i});
  const TTextFound found = TTextSearch(index).Find("a a a a a a a a a a a a a a a a a a a a a a a a a a a a a a a b");
  EXPECT_TRUE(found.Cut);
  EXPECT_EQ(found.Steps, kSearchMostSteps);
  std::string tooLong;
  for (size_t i = 0; i <= kQueryMostWords; ++i) tooLong += "a ";
  EXPECT_TRUE(TTextSearch(index).Find(tooLong).Cut);
}

TEST(TextSearch, SearchFormFoldsCaseAndLookAlikesAndTrimsPunctuation) {
  const std::pair<const char*, const char*> cases[] = {{"Hello!", "hello"}, {"«Ёлка»", "eлka"},
                                                       {"OKHO", "okho"},    {"Окно", "okho"},
                                                       {"рука", "pyka"},    {"(C:\\Lessons)", "c:\\lessons"},
                                                       {"ÄÖÜ", "äöü"},      {"--", ""},
                                                       {"ΣΟΦΙΑ", "σοφια"},  {"Ünïcödé…", "ünïcödé"}};
  for (const auto& [word, form] : cases) EXPECT_EQ(SearchForm(word), form) << word;
}
}  // namespace
