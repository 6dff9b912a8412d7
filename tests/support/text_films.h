#pragma once
// Films with known text for the text index's recall test and benchmark: each segment
// is a screen in one size and theme, as Windows draws it at 100 %: a menu bar whose
// menu opens twice, a dialog that comes and goes, and an editor whose lines are typed
// a letter at a time. Or a ribbon: rows of words set as tightly as toolbars set them,
// one or two pixels apart, of 8 to 11 pt on one line (so their baselines differ),
// Tahoma and DejaVu Sans in turn, one in five light on a dark panel. Every word drawn is recorded with its box and the times it came
// and went, so that an index made of the film can be scored against it.
#include <string>
#include <vector>

#include "text/text_index.h"
#include "writer/film_writer.h"
#include "film_text/truetype_text.h"

namespace textfilms {

enum class Theme { DarkOnLight, LightOnDark };

struct Screen {
  filmwriter::FontFace face = filmwriter::FontFace::DejaVuSans;
  int points = 10;
  Theme theme = Theme::DarkOnLight;
  bool antialiased = true;
  unsigned seed = 1;  // chooses the words
  bool ribbon = false;  // rows of mixed words instead (face, points and theme unused)
};

// A word as it was drawn: the truth an index is scored against.
struct DrawnWord {
  std::string text;
  int segment = 1;
  TTextBox box;
  double from = 0, to = 0;
  int points = 10;
  Theme theme = Theme::DarkOnLight;
};

struct TextFilm {
  std::vector<filmwriter::SegmentSpec> segments;
  std::vector<DrawnWord> words;
};

// One segment per screen, 10 frames per second, about 10 seconds each.
TextFilm MakeTextFilm(const std::vector<Screen>& screens);

struct Score {
  int drawn = 0, found = 0;    // drawn words of 3 letters or more, and those the index has
  int indexed = 0, never = 0;  // index entries of 3 letters or more, and those never drawn
  double Recall() const { return drawn == 0 ? 0 : double(found) / drawn; }
  double NeverDrawn() const { return indexed == 0 ? 0 : double(never) / indexed; }
};

// A drawn word is found when an entry of its segment has its letters (in any case,
// punctuation aside), a box that overlaps its box, and came within 0.5 s of it.
// segments limits the score to those segments (from 1); empty: all.
Score ScoreIndex(const std::vector<DrawnWord>& drawn, const TTextIndex& index, const std::vector<int>& segments = {});

}  // namespace textfilms
