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
  for (const TTextHit& h : search.Find(query)) hits.push_back({h.Segment, h.Time, h.Line});
  return hits;
}

TEST(TextSearch, Queries) {
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
}

TEST(TextSearch, AHitBoxSpansItsPhrase) {
  const TTextIndex index = Screen();
  const std::vector<TTextHit> hits = TTextSearch(index).Find("open settings");
  ASSERT_EQ(hits.size(), 1u);
  EXPECT_EQ(hits[0].Box, (TTextBox{10, 10, 104, 20}));
  EXPECT_EQ(hits[0].Word, 0u);
}

TEST(TextSearch, SearchFormFoldsCaseAndLookAlikesAndTrimsPunctuation) {
  const std::pair<const char*, const char*> cases[] = {{"Hello!", "hello"}, {"«Ёлка»", "ёлka"},
                                                       {"OKHO", "okho"},    {"Окно", "okho"},
                                                       {"рука", "pyka"},    {"(C:\\Lessons)", "c:\\lessons"},
                                                       {"ÄÖÜ", "äöü"},      {"--", ""},
                                                       {"ΣΟΦΙΑ", "σοφια"},  {"Ünïcödé…", "ünïcödé"}};
  for (const auto& [word, form] : cases) EXPECT_EQ(SearchForm(word), form) << word;
}
}  // namespace
