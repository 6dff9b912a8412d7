// The walk over a film's pictures that kof and the page index with: which areas are due
// in which picture, what a reading of them becomes, the waiting areas at a segment's
// end, and segments that cannot be walked.
#include "text/film_text_walk.h"

#include <gtest/gtest.h>

#include "film/film_loader.h"
#include "film/ko_stream.h"
#include "film/temp_files.h"
#include "support/moving_film.h"
#include "support/temp_dir.h"

using namespace filmwriter;
using testfilms::FillBox;

namespace {
constexpr uint32_t kWhite = 0xFFFFFF, kInk = 0x202020;

// 10 fps on white: a "word" (a dark box at 20,20 of 30x8) from frame `from` on, and
// from frame `blinkFrom` on a box at 100,60 whose colour changes every frame.
SegmentSpec Screen(int frames, int from, int blinkFrom) {
  SegmentSpec spec;
  spec.soundKind = 0;
  for (int k = 0; k < frames; ++k) {
    Picture picture = Picture::Filled(160, 100, kWhite);
    if (k >= from) FillBox(picture, 20, 20, 30, 8, kInk);
    if (k >= blinkFrom) FillBox(picture, 100, 60, 10, 10, uint32_t(k * 8) << 8);
    spec.data.pictures.push_back(picture);
  }
  return spec;
}

struct Due {
  TTextBox area;
  double seconds;       // the walk's time when it was due
  bool newPicture;      // due in a picture just walked, not at the segment's end
  uint32_t pixelAtWord;  // the walk's picture at the word's first pixel, blue green red
};

class FilmTextWalk : public ::testing::Test {
protected:
  TempDir root;
  TSegmentList segments;

  void Load(const std::vector<SegmentSpec>& specs) {
    const auto film = root / "film.kof";
    WriteBytesToFile(film, WithTrailer(BuildFilm(specs)));
    TkoFileStream stream(film, kModeReadShared);
    TFilmLoader loader(segments, CreatePlayerTempFolder(root.path()));
    ASSERT_TRUE(loader.LoadAppendedFilm(&stream));
  }
};

uint32_t PixelAt(const TkoPictureView& picture, int32_t x, int32_t y) {
  const uint8_t* p = picture.At(x, y);
  return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}
}  // namespace

// The pointer moves three times a frame, hidden: each frame is walked once all the same.
TEST_F(FilmTextWalk, HandsOutSettledAreasInTheirPictureAndDatesWhatIsReadThere) {
  SegmentSpec screen = Screen(30, 10, 1000);
  screen.data.samplesPerFrame = 3;
  std::vector<CursorSample> track;
  for (uint16_t i = 0; i < 90; ++i) track.push_back({0, uint16_t(i % 150), 50});
  screen.data.cursorTrack = track;
  Load({screen});
  TFilmTextWalk walk(segments, [](int32_t, const std::string& problem) { ADD_FAILURE() << problem; });
  std::vector<Due> due;
  int pictures = 0;
  while (walk.Step()) {
    if (walk.NewPictureSeconds() > 0) ++pictures;
    for (const TTextBox& area : walk.Due()) {
      due.push_back({area, walk.SecondsWalked(), walk.NewPictureSeconds() > 0, PixelAt(walk.Picture(), 20, 20)});
      // The reader finds the word where the picture shows it.
      const bool holdsWord = area.Intersects({20, 20, 50, 28}) && due.back().pixelAtWord == kInk;
      walk.Read(area, holdsWord ? std::vector<TReadWord>{{"Settings", 96, {20, 20, 50, 28}}}
                                : std::vector<TReadWord>{});
    }
  }
  EXPECT_EQ(pictures, 30);
  ASSERT_EQ(due.size(), 2u);
  EXPECT_NEAR(due[0].seconds, 0.5, 1e-9);  // the first picture, all new, settled
  EXPECT_EQ(due[0].pixelAtWord, kWhite);
  EXPECT_TRUE(due[1].area.Intersects({20, 20, 50, 28}));
  EXPECT_NEAR(due[1].seconds, 1.5, 1e-9);  // shown at 1.0 s, unchanged for 0.5 s
  EXPECT_TRUE(due[1].newPicture);
  EXPECT_EQ(due[1].pixelAtWord, kInk);  // the picture it is due in shows it
  const std::vector<TIndexedWord> words = walk.TakeWords();
  ASSERT_EQ(words.size(), 1u);
  EXPECT_EQ(words[0].Text, "Settings");
  EXPECT_EQ(words[0].Segment, 1);
  EXPECT_DOUBLE_EQ(words[0].From, 1.0);
  EXPECT_DOUBLE_EQ(words[0].To, 3.0);
  EXPECT_DOUBLE_EQ(walk.SecondsWalked(), walk.TotalSeconds());
}

// A clock's last digit ticks inside a word on screen: the area due is the whole word,
// read as one, never the digit alone as a fragment of it.
TEST_F(FilmTextWalk, AChangeInsideAWordIsReadWithTheWholeWord) {
  SegmentSpec clock = Screen(30, 0, 1000);
  for (int k = 15; k < 30; ++k) FillBox(clock.data.pictures[size_t(k)], 44, 20, 6, 8, 0x404040);  // 10:41 → 10:42
  Load({clock});
  const TTextBox word{20, 20, 50, 28};
  TFilmTextWalk walk(segments, [](int32_t, const std::string& problem) { ADD_FAILURE() << problem; });
  std::vector<TTextBox> due;
  while (walk.Step())
    for (const TTextBox& area : walk.Due()) {
      due.push_back(area);
      const bool ticked = PixelAt(walk.Picture(), 44, 20) == 0x404040;
      const std::string text = area.Left <= word.Left && word.Right <= area.Right ? (ticked ? "10:42" : "10:41") : "2";
      walk.Read(area, {{text, 90, area.Intersection(word)}});
    }
  ASSERT_EQ(due.size(), 2u);
  EXPECT_EQ(due[1], word);
  const std::vector<TIndexedWord> words = walk.TakeWords();
  ASSERT_EQ(words.size(), 2u);
  EXPECT_EQ(words[0].Text, "10:41");
  EXPECT_DOUBLE_EQ(words[0].To, 1.5);
  EXPECT_EQ(words[1].Text, "10:42");
  EXPECT_DOUBLE_EQ(words[1].From, 1.5);
}

// An area that never settles is read every 5 s and once more in the segment's last
// picture; a segment that cannot be drawn is told and passed over, and the next one
// counts from its own start.
TEST_F(FilmTextWalk, ReadsWaitingAreasAtASegmentsEndAndPassesOverSegmentsItCannotDraw) {
  SegmentSpec unplayable = Screen(5, 0, 1000);
  unplayable.framesPerSecond = 0.2f;  // rounds to 0
  Load({Screen(80, 1000, 0), unplayable, Screen(10, 2, 1000)});
  std::vector<std::pair<int32_t, std::string>> problems;
  TFilmTextWalk walk(segments, [&](int32_t segment, const std::string& problem) {
    problems.emplace_back(segment, problem);
  });
  std::vector<Due> due;
  while (walk.Step())
    for (const TTextBox& area : walk.Due()) {
      due.push_back({area, walk.SecondsWalked(), walk.NewPictureSeconds() > 0, PixelAt(walk.Picture(), 20, 20)});
      walk.Read(area, {{"word", 90, area}});
    }
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].first, 2);
  EXPECT_NE(problems[0].second.find("frame rate is 0"), std::string::npos) << problems[0].second;

  ASSERT_EQ(due.size(), 3u);
  EXPECT_NEAR(due[0].seconds, 5.0, 1e-9);   // changing since 0 s: read at 5 s
  EXPECT_TRUE(due[0].newPicture);
  EXPECT_FALSE(due[1].newPicture);          // still changing at the end: read in the last picture
  EXPECT_NEAR(due[1].seconds, 7.9, 1e-9);
  EXPECT_TRUE(due[1].area.Intersects({100, 60, 110, 70}));
  // The third segment's screen and word (from 0.2 s, joining the screen's area), after
  // the 8 s and 5 s before it.
  EXPECT_NEAR(due[2].seconds, 8.0 + 5.0 + 0.7, 1e-9);
  EXPECT_EQ(due[2].pixelAtWord, kInk);
  const std::vector<TIndexedSegment> sizes = walk.Segments();
  ASSERT_EQ(sizes.size(), 3u);
  EXPECT_EQ(sizes[2], (TIndexedSegment{160, 100}));
  const std::vector<TIndexedWord> words = walk.TakeWords();
  ASSERT_EQ(words.size(), 2u);
  EXPECT_EQ(words[0].Segment, 1);
  EXPECT_EQ(words[1].Segment, 3);
}
