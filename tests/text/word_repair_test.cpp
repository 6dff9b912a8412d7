// Mending an area's reading where words were set too tightly to read together: which
// reading of a place stays, where a word is cut, which fragments are joined.
#include "text/word_repair.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "text/ink_gaps.h"
#include "text/reading_choice.h"

namespace {
TReadWord Word(const char* text, int32_t confidence, TTextBox box = {0, 0, 10, 10}) {
  return {text, confidence, box};
}

// A white prepared area with ink in the given columns, all rows.
TPreparedArea Inked(TTextBox box, std::initializer_list<std::pair<int32_t, int32_t>> columns) {
  TPreparedArea area{box, std::vector<uint8_t>(size_t(box.Area()), 255)};
  for (const auto& [from, to] : columns)
    for (int32_t y = 0; y < box.Height(); ++y)
      for (int32_t x = from; x < to; ++x) area.Grey[size_t(y * box.Width() + x - box.Left)] = 0;
  return area;
}

// Answers each box with the reading written for it, and knows the words it is given;
// without them, it has no dictionary.
class ScriptedReader : public TWordReader {
public:
  ScriptedReader(std::map<std::pair<int32_t, int32_t>, std::vector<TReadWord>> readings, std::vector<std::string> known)
      : FReadings(std::move(readings)), FKnown(std::move(known)) {}
  bool HasDictionary() const override { return !FKnown.empty(); }
  std::vector<TReadWord> ReadAlone(const TTextBox& box, TReadPass) override {
    const auto found = FReadings.find({box.Left, box.Right});
    return found == FReadings.end() ? std::vector<TReadWord>{} : found->second;
  }
  TWordKind KindOf(const std::string& word) override {
    if (FKnown.empty()) return TWordKind::Unjudged;
    return std::find(FKnown.begin(), FKnown.end(), word) != FKnown.end() ? TWordKind::Known : TWordKind::Unknown;
  }

private:
  std::map<std::pair<int32_t, int32_t>, std::vector<TReadWord>> FReadings;
  std::vector<std::string> FKnown;
};
}  // namespace

TEST(ReadingChoice, TheReadingInItsLineStaysUnlessAnotherIsClearlyBetter) {
  struct Case {
    const char* name;
    std::vector<TReading> readings;
    const char* chosen;
  } cases[] = {
      {"alone a little surer",
       {{{Word("Окно", 81)}}, {{Word("Окна", 88)}}, {{Word("Окна", 70)}}}, "Окно"},
      {"alone much surer", {{{Word("rayjew", 39)}}, {{Word("review", 95)}}}, "review"},
      {"alone known, as sure", {{{Word("разте", 82)}}, {{Word("paste", 90)}, true}}, "paste"},
      {"in its line known", {{{Word("macros", 84)}, true}, {{Word("тасго", 92)}}}, "macros"},
      {"the best of the others",
       {{{Word("OTK", 40)}}, {{Word("Отк", 60)}}, {{Word("Открыть", 80)}}}, "Открыть"},
      {"nothing in its line", {{}, {{Word("ruler", 30)}}}, "ruler"},
      {"nothing anywhere", {{}, {}}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReadingText(ChosenReading(c.readings, 10)), c.chosen);
  }
}

TEST(WordRepair, ACutStandsOnKnownPartsOrAClearGain) {
  struct Case {
    const char* name;
    int32_t whole;
    std::vector<TReadWord> parts;
    bool allKnown, stands;
  } cases[] = {
      {"known parts as sure", 90, {Word("warehouse", 96), Word("release", 90)}, true, true},
      {"known parts less sure", 92, {Word("grid", 96), Word("lines", 91)}, true, false},
      {"unknown parts much surer", 86, {Word("Ссылки", 96), Word("Рецензирование", 91)}, false, true},
      {"unknown parts a little surer", 88, {Word("Ссылки", 96), Word("Рецензирование", 91)}, false, false},
      {"surer but still unsure", 40, {Word("pa", 80), Word("ste", 84)}, false, false},
      {"one part only", 40, {Word("paste", 96)}, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CutStands(Word("whole", c.whole), {c.parts, c.allKnown}), c.stands);
  }
}

TEST(WordRepair, FragmentsTouchingOnOneLineJoinWhenTheyReadAsOneWord) {
  const TReadWord sh = Word("sh", 96, {10, 10, 22, 24});
  struct Case {
    const char* name;
    TTextBox right;
    bool touch;
  } touching[] = {{"two pixels apart", {24, 12, 40, 24}, true},
                  {"boxes overlapping a pixel", {21, 12, 40, 24}, true},
                  {"three pixels apart", {25, 12, 40, 24}, false},
                  {"on the line below", {23, 20, 40, 34}, false},
                  {"on its left", {0, 10, 10, 24}, false}};
  for (const Case& c : touching) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Touch(sh, Word("are", 95, c.right)), c.touch);
  }
  const TReadWord are = Word("are", 95, {23, 12, 40, 24});
  EXPECT_TRUE(JoinStands(sh, are, {Word("share", 96)}, TWordKind::Known));
  EXPECT_TRUE(JoinStands(Word("templ", 70), Word("ate", 80), {Word("template", 86)}, TWordKind::Unknown));
  EXPECT_FALSE(JoinStands(sh, are, {Word("sharehyperlink", 96)}, TWordKind::Unknown));  // no gain
  EXPECT_FALSE(JoinStands(sh, are, {Word("share", 96), Word("x", 96)}, TWordKind::Known));
  EXPECT_FALSE(JoinStands(Word("ruler", 45), Word("filter", 45), {Word("rulerfilter", 20)}, TWordKind::Unknown));
  EXPECT_TRUE(JoinStands(Word("Абза", 92), Word("Ц", 70), {Word("Абзац", 96)}, TWordKind::Unjudged));
  EXPECT_FALSE(JoinStands(Word("grid", 95), Word("lines", 96), {Word("gridlines", 91)}, TWordKind::Unknown));
  EXPECT_FALSE(JoinStands(Word("sort", 88), Word("group", 90), {Word("sortgroup", 91)}, TWordKind::Unknown));
}

TEST(InkGaps, OnlyBlankColumnsBetweenInkAreGapsAndTheWidestOfUnevenOnesAreTried) {
  const TPreparedArea area = Inked({100, 0, 140, 8}, {{104, 108}, {109, 112}, {114, 120}, {122, 130}});
  const std::vector<TInkGap> gaps = InkGaps(area, area.Box);
  ASSERT_EQ(gaps.size(), 3u);  // not the margins left of 104 and right of 130
  EXPECT_EQ(gaps[0].Left, 108);
  EXPECT_EQ(gaps[0].Width(), 1);
  EXPECT_EQ(gaps[2].Left, 120);
  const std::vector<TInkGap> widest = WidestInkGaps(area, area.Box, 4);
  ASSERT_EQ(widest.size(), 2u);
  EXPECT_EQ(widest[0].Left, 112);
  EXPECT_EQ(widest[1].Left, 120);
  EXPECT_EQ(WidestInkGaps(area, area.Box, 1).size(), 1u);
  EXPECT_EQ(InkGaps(area, {105, 0, 107, 8}).size(), 0u);  // all ink
  const TPreparedArea evenly = Inked({0, 0, 40, 8}, {{2, 8}, {10, 16}, {18, 24}});
  EXPECT_EQ(InkGaps(evenly, evenly.Box).size(), 2u);
  EXPECT_TRUE(WidestInkGaps(evenly, evenly.Box, 4).empty());  // letters of a fixed pitch
  EXPECT_EQ(WidestInkGaps(evenly, {0, 0, 12, 8}, 4).size(), 1u);  // one gap: the only place to look
  struct Near {
    int32_t x;
    int32_t gapLeft;  // -1: none
  } nears[] = {{108, 108}, {110, 108}, {111, 112}, {121, 120}, {123, 120}, {124, -1}, {100, -1}};
  for (const Near& n : nears) {
    SCOPED_TRACE(n.x);
    const std::optional<TInkGap> near = GapNear(gaps, n.x, 2);
    EXPECT_EQ(near ? near->Left : -1, n.gapLeft);
  }
}

// Two words read as one are cut at the gap between them, wider than the gap between
// letters, or where a reading alone saw two words; three at both gaps; a word the
// dictionary knows is left whole, and fragments of one are joined.
TEST(WordRepair, AReadingIsMendedWordByWord) {
  const TPreparedArea area =
      Inked({0, 0, 130, 12}, {{2, 15}, {16, 30}, {32, 60}, {62, 90}, {100, 105}, {106, 110}, {112, 118}});
  const std::map<std::pair<int32_t, int32_t>, std::vector<TReadWord>> readings = {
      {{2, 60}, {Word("warehouserelease", 92, {2, 0, 60, 12})}},
      {{2, 30}, {Word("warehouse", 96, {2, 0, 30, 12})}},
      {{32, 60}, {Word("release", 96, {32, 0, 60, 12})}},
      {{2, 90}, {Word("warehousereleasepaste", 70, {2, 0, 90, 12})}},
      {{32, 90}, {Word("releasepaste", 94, {32, 0, 90, 12})}},
      {{62, 90}, {Word("paste", 96, {62, 0, 90, 12})}},
      {{2, 40}, {Word("share", 96, {2, 0, 40, 12})}},
      {{100, 118}, {Word("de", 40, {100, 0, 105, 12}), Word("lete", 40, {106, 0, 118, 12})}},
      {{100, 105}, {Word("de", 96, {100, 0, 105, 12})}},
      {{106, 118}, {Word("lete", 96, {106, 0, 118, 12})}}};
  ScriptedReader reader(readings, {"warehouse", "release", "paste", "share", "sh", "are", "template", "de", "lete"});
  struct Case {
    const char* name;
    std::vector<TReadWord> read;
    const char* mended;
  } cases[] = {
      {"two as one", {Word("warehouserelease", 92, {2, 0, 60, 12})}, "warehouse release"},
      {"three as one", {Word("warehousereleasepaste", 70, {2, 0, 90, 12})}, "warehouse release paste"},
      {"a known word", {Word("template", 93, {2, 0, 60, 12})}, "template"},
      {"at a narrow gap a reading alone saw", {Word("dalato", 50, {100, 0, 118, 12})}, "de lete"},
      {"fragments", {Word("sh", 96, {2, 0, 20, 12}), Word("are", 95, {21, 0, 40, 12})}, "share"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReadingText(RepairWords(c.read, area, reader)), c.mended);
  }
  // Without a dictionary no word is cut; unsure ones are still read alone.
  ScriptedReader blind(readings, {});
  EXPECT_EQ(ReadingText(RepairWords(cases[1].read, area, blind)), "warehousereleasepaste");
  EXPECT_EQ(ReadingText(RepairWords({Word("wrhs", 40, {2, 0, 30, 12})}, area, blind)), "warehouse");
}
