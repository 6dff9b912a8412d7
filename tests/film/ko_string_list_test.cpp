#include "film/ko_string_list.h"

#include <gtest/gtest.h>

namespace {
std::vector<std::string> Lines(const TkoStringList& list) {
  std::vector<std::string> lines;
  for (int32_t i = 0; i < list.Count(); ++i) lines.push_back(list.Get(i));
  return lines;
}
}  // namespace

TEST(StringList, IgnoresIndexesOutOfRange) {
  TkoStringList list;
  for (int i = 0; i < 17; ++i) EXPECT_EQ(list.Add("line" + std::to_string(i)), i);  // past the first sixteen
  EXPECT_EQ(list.Get(-1) + list.Get(17), "");
  EXPECT_EQ(Lines(list).front() + Lines(list).back(), "line0line16");
}

TEST(StringList, GetValueTrimsAndMatchesTheFirstKeyIgnoringCase) {
  TkoStringList list;
  for (const char* line : {"no equals sign here", "  Error\t =  Something went wrong \x01", "error=second",
                           "Path = a=b", "\xC2\xED\xE8\xEC\xE0\xED\xE8\xE5=attention"})  // "Внимание" in 1251
    list.Add(line);
  EXPECT_EQ(list.GetValue("error"), "Something went wrong");
  EXPECT_EQ(list.GetValue("path"), "a=b");
  EXPECT_EQ(list.GetValue("\xE2\xED\xE8\xEC\xE0\xED\xE8\xE5"), "attention") << "Cyrillic keys fold case";
  EXPECT_EQ(list.GetValue("missing"), "");
  EXPECT_EQ(list.GetValue(""), "");
}

TEST(StringList, CaseFoldsAsciiAndTheWholeCyrillicAlphabetOf1251) {
  // А/а, Я/я and Ё/ё are the ends of the range and the letter outside it.
  for (const auto& [a, b] : {std::pair{"Error", "eRROR"}, {"AZ", "az"}, {"\xC0", "\xE0"}, {"\xDF", "\xFF"},
                             {"\xA8", "\xB8"}})
    EXPECT_TRUE(SameTextIgnoringCase(a, b)) << a;
  for (const auto& [a, b] : {std::pair{"@", "`"}, {"[", "{"}, {"\xBF", "\xDF"}, {"\xC0", "\xC1"}, {"a", "aa"}})
    EXPECT_FALSE(SameTextIgnoringCase(a, b)) << a;
}

TEST(StringList, SetTextSplitsLinesTheWayLanguageBlocksExpect) {
  using V = std::vector<std::string>;
  const std::pair<std::string, V> cases[] = {
      {"A\r\nB\r\n", {"A", "B"}},
      {"A\r\n\r\nB", {"A", "\r\nB"}},
      {"\n\n\n", {}},
      {std::string("A\0B\rC", 5), {"A", "B", "C"}},
      {"A\nB", {"A\nB"}},  // a lone LF inside a line belongs to it
  };
  for (const auto& [text, lines] : cases) {
    TkoStringList list;
    list.SetText(text.data(), int32_t(text.size()));
    EXPECT_EQ(Lines(list), lines);
  }
  TkoStringList list;
  list.SetText(nullptr, 5);
  list.SetText("abc", 0);
  EXPECT_EQ(list.Count(), 0);
}
