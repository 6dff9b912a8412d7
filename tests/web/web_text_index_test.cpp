// Making the text index in the page: the areas handed out as kof's walk finds them, the
// pixels ready to read, the passes the page's reader is asked for, its words placed in
// the film's pixels, and the document the page offers and searches.
#include "web/web_text_index.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "film/film_identity.h"
#include "film/ko_error.h"
#include "film/temp_files.h"
#include "support/temp_dir.h"
#include "web/web_film_file.h"
#include "web/web_search.h"
#include "writer/film_writer.h"

#include <fstream>
#include <functional>
#include <map>

#include "text/reading_choice.h"
#include "text/word_repair.h"

using namespace filmwriter;
using nlohmann::json;

namespace {
// A silent segment of `frames` pictures at 10 fps, 160 x 100 on white; picture k has dark
// upright strokes, as letters have, in every fourth column of the boxes strokes(k) gives.
SegmentSpec Strokes(int frames, const std::function<std::vector<TTextBox>(int)>& strokes) {
  SegmentSpec spec;
  spec.soundKind = 0;
  for (int k = 0; k < frames; ++k) {
    Picture picture = Picture::Filled(160, 100, 0xFFFFFF);
    for (const TTextBox& box : strokes(k))
      for (int y = box.Top; y < box.Bottom; ++y)
        for (int x = box.Left; x < box.Right; x += 4) picture.At(x, y) = 0x202020;
    spec.data.pictures.push_back(picture);
  }
  return spec;
}

// 3 s: strokes in (20, 20)-(50, 28) from 1 s on; a second segment that cannot be played.
void WriteFilm(const std::filesystem::path& path) {
  SegmentSpec broken;
  broken.soundKind = 0;
  broken.data.pictures = {Picture::Filled(8, 8, 0)};
  broken.framesPerSecond = 0.2f;  // rounds to 0
  const auto text = [](int k) { return k >= 10 ? std::vector<TTextBox>{{20, 20, 50, 28}} : std::vector<TTextBox>{}; };
  WriteBytesToFile(path, WithTrailer(BuildFilm({Strokes(30, text), broken})));
}

// A word as tesseract.js gives it: its box in the enlarged image, border included.
json Word(const std::string& text, double confidence, json box) {
  return {{"text", text}, {"confidence", confidence}, {"box", std::move(box)}};
}

// Two fragments of a word set two pixels apart on one line, from 1 s to 2 s: strokes in
// (20, 20)-(49, 28) and (51, 20)-(76, 28), in an area of (16, 16)-(80, 32) with its margin.
const TTextBox kFragments{20, 20, 76, 28};
const TTextBox kFragmentsArea = kFragments.Expanded(4, 4);
void WriteFragments(const std::filesystem::path& path) {
  const auto words = [](int k) {
    return k >= 10 ? std::vector<TTextBox>{{20, 20, 50, 28}, {51, 20, 77, 28}} : std::vector<TTextBox>{};
  };
  WriteBytesToFile(path, WithTrailer(BuildFilm({Strokes(20, words)})));
}

// Reads every area of the film with read(pass, whole), whole telling the passes over the
// area from those over a part of it read alone; returns how many of those there were.
int ReadFilm(TWebTextIndex& index, const std::function<json(const json&, bool)>& read) {
  int alone = 0;
  for (json area = json::parse(index.NextArea()); !area.contains("done"); area = json::parse(index.NextArea()))
    for (json pass = area; pass.contains("factor");) {
      const bool whole = pass["width"] == area["width"] && pass["height"] == area["height"];
      alone += !whole;
      pass = json::parse(index.PassRead(read(pass, whole).dump()));
    }
  return alone;
}

// A word read in the pass's pixels from column left to right (all of them by default), its
// box in the enlarged image, from the area's margin down to its bottom margin when inset.
json Over(const json& pass, const std::string& text, double confidence, int left = 0, int right = -1, int inset = 0) {
  const int f = pass["factor"], b = pass["border"], w = pass["width"], h = pass["height"];
  return Word(text, confidence, {b + left * f, b + inset * f, b + (right < 0 ? w : right) * f, b + (h - inset) * f});
}

class WebTextIndex : public ::testing::Test {
protected:
  TempDir root;
  std::filesystem::path film = root / "lesson.kof";
  std::filesystem::path folder = CreatePlayerTempFolder(root.path());
  WebTextIndex() { WriteFilm(film); }
};
}  // namespace

// The reader answers the strokes, read whole, with a word; the first area (the white screen
// of the first picture) with nothing.
TEST_F(WebTextIndex, ReadsEachAreaInPassesAndWritesTheIndexThePlayersSearch) {
  TWebTextIndex index(film, folder, "eng+rus");
  json area = json::parse(index.NextArea());
  EXPECT_EQ(area["layout"], 11);  // the whole screen: scattered text
  EXPECT_EQ(area["progress"], 0.5 / 4);  // 3 s, and 1 s of the second segment
  EXPECT_EQ(index.PassRead("[]"), "{}");

  area = json::parse(index.NextArea());
  // The strokes with 4 pixels of margin, one line: read as a line, three times as large.
  EXPECT_EQ(area["width"], 37);
  EXPECT_EQ(area["height"], 16);
  EXPECT_EQ(area["factor"], 3);
  EXPECT_EQ(area["layout"], 7);
  EXPECT_EQ(area["border"], 12);
  ASSERT_NE(index.Pixels(), nullptr);
  EXPECT_EQ(index.Pixels()[0], 255);                 // the margin: white
  EXPECT_LT(index.Pixels()[4 * 37 + 4], 128);        // a stroke: dark
  // Unsure of the word: a second pass, larger and as a block; it reads it surer, and a
  // mark with no letter is no word.
  const json again = json::parse(index.PassRead(json::array({Word("Settlngs", 70, {24, 24, 114, 48})}).dump()));
  EXPECT_EQ(again["factor"], 4);
  EXPECT_EQ(again["layout"], 6);
  EXPECT_EQ(index.PassRead(json::array({Word("Settings", 93, {28, 28, 148, 60}), Word("--", 95, {0, 0, 8, 8})}).dump()),
            "{}");
  EXPECT_EQ(json::parse(index.NextArea()), json::parse(R"({"done":true,"progress":1})"));
  EXPECT_EQ(index.Problems(), std::vector<std::string>{"segment 2: no words: its frame rate is 0"});

  const TTextIndex made = ParseTextIndex(index.Document());
  EXPECT_EQ(made.Film, "lesson.kof");
  EXPECT_EQ(made.FilmBytes, int64_t(std::filesystem::file_size(film)));
  EXPECT_EQ(made.FilmIdentity, FilmIdentity(film));
  EXPECT_EQ(made.Languages, "eng+rus");
  ASSERT_EQ(made.Segments.size(), 2u);
  ASSERT_EQ(made.Words.size(), 1u);
  EXPECT_EQ(made.Words[0].Text, "Settings");
  EXPECT_EQ(made.Words[0].Box, (TTextBox{20, 20, 50, 28}));  // the second pass's box, at a quarter
  EXPECT_DOUBLE_EQ(made.Words[0].From, 1.0);
  EXPECT_DOUBLE_EQ(made.Words[0].To, 3.0);

  // The page hands the document to its player, which searches it as one found beside the film.
  const auto made_path = root / "made.words.json";
  std::ofstream(made_path, std::ios::binary) << index.Document();
  TWebSearch search;
  search.Open(film);
  EXPECT_FALSE(search.HasIndex());
  search.UseIndex(made_path);
  EXPECT_EQ(json::parse(search.Find("settings", TUiTexts(TUiLanguage::kEnglish)))["hits"].size(), 1u);
}

// Two lines that come at once are read in the order kof's walk gives them, so that both
// make the same entries of the same readings.
TEST_F(WebTextIndex, HandsOutTheAreasOfOnePictureInTheWalksOrder) {
  const auto lines = [](int k) {  // a short line and a long one, from 0.5 s on
    return k >= 5 ? std::vector<TTextBox>{{20, 10, 60, 12}, {20, 70, 100, 72}} : std::vector<TTextBox>{};
  };
  const auto twoLines = root / "lines.kof";
  WriteBytesToFile(twoLines, WithTrailer(BuildFilm({Strokes(20, lines)})));

  std::vector<int32_t> walkOrder;  // the areas' widths, as the walk gives them
  TSegmentList segments;
  LoadFilmFile(segments, twoLines, CreatePlayerTempFolder(root.path()));
  TFilmTextWalk walk(segments, [](int32_t, const std::string&) {});
  while (walk.Step())
    for (const TTextBox& area : walk.Due()) walkOrder.push_back(area.Expanded(4, 4).Intersection({0, 0, 160, 100}).Width());

  std::vector<int32_t> pageOrder;
  TWebTextIndex index(twoLines, folder, "eng");
  for (json area = json::parse(index.NextArea()); !area.contains("done"); area = json::parse(index.NextArea())) {
    pageOrder.push_back(area["width"]);
    index.PassRead("[]");
  }
  ASSERT_EQ(walkOrder.size(), 3u);  // the white screen, then the two lines at once
  EXPECT_NE(walkOrder[1], walkOrder[2]);
  EXPECT_EQ(pageOrder, walkOrder);
}

// Strokes that go and come back elsewhere: their pixels were read, so they are not
// handed out again, and the words read then are placed where they are now.
TEST_F(WebTextIndex, PixelsReadOnceAreNotHandedOutAgain) {
  const auto strokes = [](int k) {  // from 0.5 s to 1.5 s, then from 2.5 s elsewhere
    if (k < 5 || (k >= 15 && k < 25)) return std::vector<TTextBox>{};
    return std::vector<TTextBox>{k < 15 ? TTextBox{20, 20, 50, 28} : TTextBox{60, 50, 90, 58}};
  };
  const auto again = root / "again.kof";
  WriteBytesToFile(again, WithTrailer(BuildFilm({Strokes(40, strokes)})));

  TWebTextIndex index(again, folder, "eng");
  int strokesHandedOut = 0;
  for (json area = json::parse(index.NextArea()); !area.contains("done"); area = json::parse(index.NextArea())) {
    const bool strokes = area["width"] == 37 && area["height"] == 16 && index.Pixels()[4 * 37 + 4] < 128;
    strokesHandedOut += strokes;
    index.PassRead(strokes ? json::array({Word("Settings", 93, {24, 24, 114, 48})}).dump() : "[]");
  }
  EXPECT_EQ(strokesHandedOut, 1);
  const TTextIndex made = ParseTextIndex(index.Document());
  ASSERT_EQ(made.Words.size(), 2u);
  EXPECT_EQ(made.Words[0].Box, (TTextBox{20, 20, 50, 28}));
  EXPECT_EQ(made.Words[1].Box, (TTextBox{60, 50, 90, 58}));
  EXPECT_DOUBLE_EQ(made.Words[1].From, 2.5);
}

TEST_F(WebTextIndex, RefusesWordsThatAreNotTheReadersAnswer) {
  TWebTextIndex index(film, folder, "eng");
  EXPECT_THROW(index.PassRead("[]"), EkoError);  // no area handed out yet
  index.NextArea();
  for (const char* bad : {"{}", "[{\"text\": \"a\"}]", "[{\"text\": 1, \"confidence\": 90, \"box\": [0, 0, 1, 1]}]",
                          "[{\"text\": \"a\", \"confidence\": 90, \"box\": [0, 0, 1]}]", "not json"})
    EXPECT_THROW(index.PassRead(bad), EkoError) << bad;
  // Boxes beyond the image and odd numbers stay inside the area.
  EXPECT_EQ(index.PassRead(R"([{"text": "Edit", "confidence": 1e300, "box": [-1e300, 0, 1e300, 1e300]}])"), "{}");
}

// Read whole, a word comes back in two unsure fragments that touch; each is read alone,
// then both together, which reads as one word. The page is handed each of those parts, one
// pass each, and its index holds what kof's mending makes of the same readings.
TEST_F(WebTextIndex, MendsEachAreasWordsAsKofDoes) {
  // The readings alone, by the width of the part read: the fragments, then both.
  const std::map<int, std::pair<std::string, int>> readings = {
      {29, {"templ", 70}}, {25, {"ate", 80}}, {kFragments.Width(), {"template", 86}}};
  const auto reading = [&](int width) {
    const auto found = readings.find(width);
    return found == readings.end() ? std::pair<std::string, int>{"x", 0} : found->second;
  };
  const auto fragments = root / "fragments.kof";
  WriteFragments(fragments);
  TWebTextIndex index(fragments, folder, "eng");
  std::optional<TPreparedArea> seen;
  std::map<int, std::vector<uint8_t>> partsSeen;  // by their widths
  const int alone = ReadFilm(index, [&](const json& pass, bool whole) {
    if (!whole) {
      partsSeen[pass["width"]].assign(index.Pixels(), index.Pixels() + int(pass["width"]) * int(pass["height"]));
      const auto [text, confidence] = reading(pass["width"]);
      return json::array({Over(pass, text, confidence)});
    }
    if (pass["width"] != kFragmentsArea.Width()) return json::array();  // the white screen
    const uint8_t* pixels = index.Pixels();
    if (!seen) seen = TPreparedArea{kFragmentsArea, std::vector<uint8_t>(pixels, pixels + kFragmentsArea.Area())};
    return json::array({Over(pass, "templ", 70, 4, 33, 4), Over(pass, "ate", 80, 35, 60, 4)});
  });
  EXPECT_EQ(alone, 3);

  // kof's mending with a reader that reads as the page did, where the page was handed the
  // same pixels, and has no dictionary either.
  class Reader : public TWordReader {
  public:
    Reader(const TPreparedArea& area, std::function<std::pair<std::string, int>(int)> reading,
           const std::map<int, std::vector<uint8_t>>& partsSeen)
        : FArea(area), FReading(std::move(reading)), FPartsSeen(partsSeen) {}
    std::vector<TReadWord> ReadAlone(const TTextBox& box, TReadPass) override {
      const std::optional<TPreparedArea> part = PartAlone(FArea, box);
      if (!part) return {};
      const auto seen = FPartsSeen.find(part->Box.Width());
      EXPECT_TRUE(seen != FPartsSeen.end() && seen->second == part->Grey) << "the part's pixels at " << box.Left;
      const auto [text, confidence] = FReading(part->Box.Width());
      return {{text, confidence, part->Box}};
    }
    TWordKind KindOf(const std::string&) override { return TWordKind::Unjudged; }
    bool HasDictionary() const override { return false; }

  private:
    const TPreparedArea& FArea;
    std::function<std::pair<std::string, int>(int)> FReading;
    const std::map<int, std::vector<uint8_t>>& FPartsSeen;
  };
  ASSERT_TRUE(seen);
  Reader reader(*seen, reading, partsSeen);
  const std::vector<TReadWord> mended =
      RepairWords({{"templ", 70, {20, 20, 49, 28}}, {"ate", 80, {51, 20, 76, 28}}}, *seen, reader);
  ASSERT_EQ(ReadingText(mended), "template");

  const TTextIndex made = ParseTextIndex(index.Document());
  ASSERT_EQ(made.Words.size(), mended.size());
  for (size_t i = 0; i < mended.size(); ++i) {
    EXPECT_EQ(made.Words[i].Text, mended[i].Text);
    EXPECT_EQ(made.Words[i].Box, mended[i].Box);
    EXPECT_DOUBLE_EQ(made.Words[i].From, 1.0);
  }
}

// A reader unsure of everything, that sees ever more words in what it reads alone, is
// asked for no more readings alone of an area than the bound, and the film's index ends.
TEST_F(WebTextIndex, ReadsAtMostABoundOfPartsAloneInAnArea) {
  const auto fragments = root / "fragments.kof";
  WriteFragments(fragments);
  TWebTextIndex index(fragments, folder, "eng");
  const int alone = ReadFilm(index, [](const json& pass, bool whole) {
    json words = json::array();  // words two pixels wide side by side
    const int f = pass["factor"], b = pass["border"], w = pass["width"], h = pass["height"];
    for (int x = 0; x + 2 <= w; x += 2)
      words.push_back(Word(whole ? "unsure" : "again", 60, {b + x * f, b, b + (x + 2) * f, b + h * f}));
    return words;
  });
  EXPECT_EQ(alone, int(TWebTextIndex::kMostReadingsAlone) * 2);  // the white screen's area, and the word's
  EXPECT_FALSE(ParseTextIndex(index.Document()).Words.empty());
}
