// Find on screen in the page: what the worker answers, the page's part of the contract
// (segments from 0 as the player's, boxes as the index has them, the chosen hit).
#include "web/web_search.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <tuple>

#include "film/film_identity.h"
#include "support/temp_dir.h"

namespace {
// "Settings" at 1.5 s of segment 1 and at 4 s of segment 2, made of the film (any bytes
// will do) or not.
std::filesystem::path FilmWithIndex(const TempDir& folder, bool ofThisFilm = true) {
  const auto film = folder / "lesson.kof";
  std::ofstream(film, std::ios::binary) << "the film's bytes";
  TTextIndex index;
  index.Film = "lesson.kof";
  index.FilmIdentity = ofThisFilm ? FilmIdentity(film) : "0123456789abcdef";
  index.Segments = {{800, 600}, {640, 480}};
  index.Words = {{"Settings", 90, 1, {44, 10, 100, 20}, 1.5, 3}, {"Settings", 88, 2, {300, 100, 350, 110}, 4, 6}};
  std::ofstream(TextIndexBeside(film), std::ios::binary) << TextIndexDocument(index);
  return film;
}
}  // namespace

TEST(WebSearch, HitsCountSegmentsFromZeroWithTheirBoxesAndListLines) {
  TempDir folder;
  TWebSearch search;
  search.Open(FilmWithIndex(folder));
  const auto answer = nlohmann::json::parse(search.Find("SETT", TUiTexts(TUiLanguage::kEnglish)));
  EXPECT_EQ(answer["status"], "2 matches");
  ASSERT_EQ(answer["hits"].size(), 2u);
  EXPECT_EQ(answer["hits"][0]["segment"], 0);
  EXPECT_EQ(answer["hits"][1]["segment"], 1);
  EXPECT_EQ(answer["hits"][1]["time"], 4.0);
  EXPECT_EQ(answer["hits"][1]["box"], nlohmann::json({300, 100, 50, 10}));
  EXPECT_EQ(answer["hits"][0]["label"], "0:01.5   segment 1   Settings");
}

// The page offers to make the index again (index false) and says why.
TEST(WebSearch, AnIndexOfAnotherVersionIsNotSearched) {
  TempDir folder;
  TWebSearch search;
  search.Open(FilmWithIndex(folder, false));
  const auto answer = nlohmann::json::parse(search.Find("SETT", TUiTexts(TUiLanguage::kEnglish)));
  EXPECT_EQ(answer["index"], false);
  EXPECT_EQ(answer["status"], "The text index belongs to another version of this film — make it again");
  EXPECT_TRUE(answer["hits"].empty());
}

// How steps go round the hits is the search model's; here what the page is answered.
TEST(WebSearch, ChoosingAndSteppingAnswerTheHitChosenOrNothing) {
  TempDir folder;
  TWebSearch search;
  search.Open(FilmWithIndex(folder));
  search.Find("settings", TUiTexts(TUiLanguage::kEnglish));
  const auto chosen = [](const std::string& answer) { return nlohmann::json::parse(answer).value("chosen", -1); };
  const auto second = nlohmann::json::parse(search.Choose(1));
  EXPECT_EQ(std::tuple(second["chosen"], second["segment"], second["box"]),
            std::tuple(1, 1, nlohmann::json({300, 100, 50, 10})));
  EXPECT_EQ(chosen(search.Step(true, {})), 0) << "F3 after the last: round to the first";
  EXPECT_EQ(chosen(search.Step(true, {1, 0})), 1) << "F3 from the one chosen";
  EXPECT_EQ(search.Choose(2), "{}") << "beyond the list";
  EXPECT_EQ(search.Chosen(), nullptr);
  EXPECT_EQ(chosen(search.Step(false, {1, 0})), 0) << "Shift+F3 with none chosen, from the place shown";
  // A new query chooses nothing: F3 starts from the place shown again.
  search.Find("settings", TUiTexts(TUiLanguage::kEnglish));
  EXPECT_EQ(search.Chosen(), nullptr);
}
