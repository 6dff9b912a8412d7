#include "film/ko_string_list.h"

#include <gtest/gtest.h>

namespace {
std::vector<std::string> Lines(const TkoStringList& list) {
  std::vector<std::string> lines;
  for (int32_t i = 0; i < list.Count(); ++i) lines.push_back(list.Get(i));
  return lines;
}

std::vector<std::string> Split(const std::string& text) {
  TkoStringList list;
  list.SetText(text.data(), int32_t(text.size()));
  return Lines(list);
}
}  // namespace

TEST(StringList, IgnoresIndexesOutOfRange) {
  TkoStringList list;
  for (int i = 0; i < 17; ++i) EXPECT_EQ(list.Add("line" + std::to_string(i)), i);  // past the first sixteen
  EXPECT_EQ(list.Get(-1), "");
  EXPECT_EQ(list.Get(17), "");
  list.Delete(17);
  list.Delete(-1);
  list.Delete(0);
  EXPECT_EQ(list.Count(), 16);
  EXPECT_EQ(list.Get(0), "line1");
  EXPECT_EQ(list.Get(15), "line16");
  EXPECT_EQ(list.IndexOf("line16"), 15);
  EXPECT_EQ(list.IndexOf("LINE1"), -1) << "IndexOf is case-sensitive";
}

TEST(StringList, GetValueTrimsAndMatchesTheFirstKeyIgnoringCase) {
  TkoStringList list;
  list.Add("no equals sign here");
  list.Add("  Error\t =  Something went wrong \x01");
  list.Add("error=second");
  list.Add("Path = a=b");
  list.Add("\xC2\xED\xE8\xEC\xE0\xED\xE8\xE5=attention");  // "Внимание" in Windows-1251
  EXPECT_EQ(list.GetValue("error"), "Something went wrong");
  EXPECT_EQ(list.GetValue("path"), "a=b");
  EXPECT_EQ(list.GetValue("\xE2\xED\xE8\xEC\xE0\xED\xE8\xE5"), "attention") << "Cyrillic keys fold case";
  EXPECT_EQ(list.GetValue("missing"), "");
}

TEST(StringList, SetTextSplitsLinesTheWayLanguageBlocksExpect) {
  using V = std::vector<std::string>;
  EXPECT_EQ(Split("A\r\nB\r\n"), (V{"A", "B"}));
  EXPECT_EQ(Split("A\r\n\r\nB"), (V{"A", "\r\nB"}));
  EXPECT_EQ(Split("\n\n\n"), V{});
  EXPECT_EQ(Split(std::string("A\0B\rC", 5)), (V{"A", "B", "C"}));
  EXPECT_EQ(Split("A\nB"), (V{"A\nB"})) << "a lone LF inside a line belongs to it";

  TkoStringList list;
  list.SetText(nullptr, 5);
  list.SetText("abc", 0);
  EXPECT_EQ(list.Count(), 0);
}
