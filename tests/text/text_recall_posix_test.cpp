// kof index on a small film with known text, run as a user runs it: the words it finds
// and when, scored against what was drawn. The floors lie well below what the
// benchmark measures (bench/text_index_bench.sh), so that only a real loss fails.
#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "support/text_films.h"
#include "tools/kof_run.h"

namespace {
using filmwriter::FontFace;
using textfilms::Theme;

TEST(TextRecall, KofIndexFindsTheWordsOfMenusDialogsAndTypedLinesInTime) {
  const std::vector<textfilms::Screen> screens = {
      {FontFace::DejaVuSans, 10, Theme::DarkOnLight, true, 11},
      {FontFace::Tahoma, 9, Theme::LightOnDark, false, 12},
  };
  const textfilms::TextFilm film = textfilms::MakeTextFilm(screens);
  TempDir dir;
  filmwriter::WriteBytesToFile(dir / "screens.kof", filmwriter::WithTrailer(filmwriter::BuildFilm(film.segments)));
  // Written where -o says, over an older file there; nothing beside the film.
  filmwriter::WriteBytesToFile(dir / "elsewhere.json", {'o', 'l', 'd'});
  const KofRun run = Kof("index '" + (dir / "screens.kof").string() + "' -o '" + (dir / "elsewhere.json").string() + "'",
                         "", true);
  ASSERT_EQ(run.exitCode, 0) << run.out;
  EXPECT_FALSE(std::filesystem::exists(dir / "screens.kof.words.json"));
  const std::optional<TTextIndex> index = ReadTextIndexFile(dir / "elsewhere.json");
  ASSERT_TRUE(index);
  EXPECT_EQ(index->Film, "screens.kof");
  ASSERT_EQ(index->Segments.size(), 2u);
  for (const int segment : {1, 2}) {
    const textfilms::Score score = textfilms::ScoreIndex(film.words, *index, {segment});
    SCOPED_TRACE("segment " + std::to_string(segment));
    EXPECT_GE(score.drawn, 30);
    EXPECT_GE(score.Recall(), 0.75) << score.found << " of " << score.drawn;
    EXPECT_LE(score.NeverDrawn(), 0.15) << score.never << " of " << score.indexed;
  }
}
}  // namespace
