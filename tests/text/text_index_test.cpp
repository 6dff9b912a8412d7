// The text index's document: what is written reads back the same, and what is damaged,
// foreign or too new is refused with a message that says so.
#include "text/text_index.h"

#include <gtest/gtest.h>

#include "support/error_text.h"

namespace {
TTextIndex Sample() {
  TTextIndex index;
  index.Film = "урок.kof";
  index.FilmBytes = 123456;
  index.FilmIdentity = "0123456789abcdef";
  index.Languages = "eng+rus";
  index.Segments = {{800, 600}, {640, 480}};
  index.Words = {{"Settings", 91, 1, {120, 48, 176, 61}, 12.5, 20.3, {{14.1, {120, 36, 176, 49}}}},
                 {"Настройки", 88, 2, {0, 0, 70, 13}, 0, 1.25}};
  return index;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// The message of the error reading the document.
std::string ReadError(const std::string& document) {
  return ErrorOf([&] { ParseTextIndex(document); });
}

TEST(TextIndex, ReadsBackWhatWasWritten) {
  const TTextIndex index = Sample();
  EXPECT_EQ(ParseTextIndex(TextIndexDocument(index)), index);
  TTextIndex empty = index;
  empty.Words.clear();
  EXPECT_EQ(ParseTextIndex(TextIndexDocument(empty)), empty);
  // Times finer than the document's milliseconds read as it writes them, so that a
  // document read and written again reads back the same.
  const std::string fine = Replaced(TextIndexDocument(index), "\"to\":20.3", "\"to\":20.30049999");
  const TTextIndex read = ParseTextIndex(fine);
  EXPECT_DOUBLE_EQ(read.Words[0].To, 20.3);
  EXPECT_EQ(ParseTextIndex(TextIndexDocument(read)), read);
}

TEST(TextIndex, AnOlderVersionReadsWithoutItsFilmsIdentityAndANewerOneIsRefused) {
  const std::string document = TextIndexDocument(Sample());
  const std::string older =
      Replaced(Replaced(document, "\"version\":2", "\"version\":1"), "\"filmIdentity\":\"0123456789abcdef\",", "");
  TTextIndex expected = Sample();
  expected.FilmIdentity.clear();
  EXPECT_EQ(ParseTextIndex(older), expected);
  EXPECT_EQ(ReadError(Replaced(document, "\"version\":2", "\"version\":3")),
            "the text index is of version 3, newer than this program reads (2): make it again with this kof index");
  EXPECT_NE(ReadError(Replaced(document, "\"version\":2", "\"version\":0")), "no error");
}

TEST(TextIndex, TheListsMayComeInAnyOrder) {
  const std::string document = TextIndexDocument(Sample());
  const size_t segments = document.find(",\"segments\"");
  const size_t words = document.find(",\n\"words\"");
  const std::string swapped = document.substr(0, segments) + document.substr(words, document.size() - words - 2) +
                              document.substr(segments, words - segments) + "}\n";
  EXPECT_EQ(ParseTextIndex(swapped), Sample());
}

TEST(TextIndex, DamagedAndForeignDocumentsSayWhatIsWrong) {
  const std::string good = TextIndexDocument(Sample());
  const char* kBadMove = "has a move that is not [seconds, left, top, width, height] in time order while it shows";
  struct Case {
    std::string document, message;
  };
  const Case cases[] = {
      {"", "not a text index: the file is not JSON (or is cut short)"},
      {good.substr(0, good.size() / 2), "not a text index: the file is not JSON (or is cut short)"},
      {"[1, 2]", "not a text index: it does not say \"format\": \"roRezodu text index\""},
      {R"({"format": "something else", "version": 1})",
       "not a text index: it does not say \"format\": \"roRezodu text index\""},
      {Replaced(good, "\"version\":2,", ""), "damaged text index: the document has no \"version\""},
      {Replaced(good, "\"version\":2", "\"version\":\"2\""),
       "damaged text index: the document \"version\" is not a whole number from 1 to 2147483647"},
      {Replaced(good, "\"segments\":[", "\"segments\":{\"a\":1},\"x\":["),
       "damaged text index: \"segments\" is not a list"},
      {Replaced(good, "\"width\":800", "\"width\":0"),
       "damaged text index: segment 1 \"width\" is not a whole number from 1 to 65535"},
      {Replaced(good, "\"segment\":2", "\"segment\":3"),
       "damaged text index: word 2 \"segment\" is not a whole number from 1 to 2"},
      {Replaced(good, "[120,48,56,13]", "[120,48,56]"),
       "damaged text index: word 1 \"box\" is not four whole numbers: left, top, width, height"},
      {Replaced(good, "[120,48,56,13]", "[790,48,56,13]"),
       "damaged text index: word 1 \"box\" lies outside its segment"},
      {Replaced(good, "\"to\":20.3", "\"to\":2.3"),
       "damaged text index: word 1 goes (\"to\") before it comes (\"from\")"},
      {Replaced(good, "[[14.1,", "[[11.0,"), std::string("damaged text index: word 1 ").append(kBadMove)},
      {Replaced(good, "[[14.1,120,36,56,13]]", "[[14.1,120,36,56]]"),
       std::string("damaged text index: word 1 ").append(kBadMove)},
      {Replaced(good, "[[14.1,120,36,56,13]]", "[[14.1,120,36,56,13],[14.0,120,24,56,13]]"),
       std::string("damaged text index: word 1 ").append(kBadMove)},
      {Replaced(good, "[[14.1,120,36,56,13]]", "[[14.1,790,36,56,13]]"),
       "damaged text index: word 1 \"box\" lies outside its segment"},
      {Replaced(good, "\"from\":12.5", "\"from\":-1"), "damaged text index: word 1 \"from\" is not a time in seconds"},
      {Replaced(good, "\"text\":\"Settings\"", "\"text\":\"\""),
       "damaged text index: word 1 \"text\" is empty or not UTF-8"},
      {Replaced(good, "\"confidence\":91", "\"confidence\":101"),
       "damaged text index: word 1 \"confidence\" is not a whole number from 0 to 100"},
      {Replaced(good, "{\"text\":\"Settings\"", "[{\"text\":\"Settings\"}]"),
       "not a text index: the file is not JSON (or is cut short)"},
      {Replaced(good, "\"words\": [", "\"words\": [7,"), "damaged text index: word 1 is not an object"},
      {Replaced(good, "\"words\": [", "\"words\": [[],"), "damaged text index: word 1 is not an object"},
      {Replaced(good, "\"filmIdentity\":\"0123456789abcdef\",", ""),
       "damaged text index: the document has no \"filmIdentity\""},
      {Replaced(good, "\"Settings\"", "\"" + std::string(257, 'W') + "\""),
       "damaged text index: word 1 \"text\" is longer than 256 bytes"},
      {good + std::string(kTextIndexMostBytes - good.size() + 1, ' '),
       "the text index is larger than 64 MB, more than this program reads"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.document.substr(0, 200));
    EXPECT_EQ(ReadError(c.document), c.message);
  }
}
}  // namespace
