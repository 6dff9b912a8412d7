#pragma once
// How an area of a film's picture is read for text, whichever reader reads it (Tesseract
// in kof, tesseract.js in the page). The area, with a margin of its background, is made
// grey and dark on white: pixels on a dark background are inverted, judged by the flat
// background each pixel stands on, so a highlighted menu line reads as well as the menu
// around it. The reader sees it enlarged by a whole factor inside a white border, as
// screen text at 100 % is too small for it. Where it is unsure of a word, the area is
// read once more, larger and as a block; of two readings of one place the surer one
// stays, and what was read with little confidence is left out. Unsure words are then
// read again on their own (text/word_repair.h).
#include <cstdint>
#include <optional>
#include <vector>

#include "playback/ko_picture.h"
#include "text/text_box.h"
#include "text/word_tracker.h"

// The area as the reader sees it before enlarging: Box in the picture's pixels (the area
// and its margin), Grey its luminance row by row, dark text on white.
struct TPreparedArea {
  TTextBox Box;
  std::vector<uint8_t> Grey;
};

// Nothing when the area is too small to hold a letter.
std::optional<TPreparedArea> PrepareArea(const TkoPictureView& picture, const TTextBox& area);

// Tesseract's page segmentation modes the passes use, by their numbers.
enum class TTextLayout : int32_t { kBlock = 6, kSingleLine = 7, kSparse = 11 };

struct TReadPass {
  int32_t Factor;  // the prepared area is enlarged this many times
  TTextLayout Layout;
};

// White pixels around the enlarged area.
constexpr int32_t kReadBorder = 12;

// One line of text is read as a line, anything taller as scattered text.
TReadPass FirstPass(const TTextBox& area);
TReadPass SecondPass();
// A single word read again on its own (text/word_repair.h), and larger where the
// readings disagree.
TReadPass WordPass();
TReadPass LargerWordPass();

// The part of area a word in box is read alone from (text/word_repair.h): the box inside
// the area, its pixels cut out of the area's. Nothing when too small to hold a letter.
std::optional<TPreparedArea> PartAlone(const TPreparedArea& area, const TTextBox& box);

// A word's box as the reader found it in the enlarged, bordered image (right and
// bottom outside), in the picture's pixels, inside the prepared area's box.
TTextBox BoxInPicture(const TTextBox& preparedBox, int32_t factor, int32_t left, int32_t top, int32_t right,
                      int32_t bottom);

// Whether the first pass left a word the reader was unsure of.
bool WantsSecondPass(const std::vector<TReadWord>& words);

// Joins the second pass's words to the first's: a word of a place the first read is
// kept when it is surer; one of a place the first missed is added.
void TakeSecondPass(std::vector<TReadWord>& words, std::vector<TReadWord> second);

// Leaves out the words read with too little confidence to index.
void DropUnsure(std::vector<TReadWord>& words);
