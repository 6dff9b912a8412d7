#pragma once
// Mends the words of an area's reading where the reader, seeing the whole area, went
// wrong. Toolbars set words of different sizes one to four pixels apart on one line: read
// together, two words come back as one (`warehouserelease`), one is cut in the wrong
// place (`sh`, `arehyperlink`) or misread, its line's height set by its neighbours
// (`rayjew` for `review`). Read on its own, each word reads well. So:
//   - a word read unsure, or not in the reader's dictionary, is read again alone, and
//     where that reads otherwise, once more alone and larger; the best reading stays
//     (text/reading_choice.h);
//   - a long word that is still not in the dictionary is cut at its widest ink gaps and
//     where another reading of it alone saw two words, and the cut stays where its parts
//     read as dictionary words, or much surer than the whole; its parts are cut again.
//     A reader without a dictionary has no word cut: nothing tells it `delete` from `del`
//     and `ete` read surer;
//   - fragments that touch on one line are read together and joined where that reads
//     as one word, a known one or a surer one.
#include <string>
#include <vector>

#include "text/area_reading.h"
#include "text/word_tracker.h"

// Whether the reader's dictionary has a word. Unjudged: its dictionary cannot say (a
// word of digits, or in a language whose dictionary it does not consult).
enum class TWordKind { Known, Unknown, Unjudged };

// Reads single boxes of one prepared area on their own.
class TWordReader {
public:
  virtual ~TWordReader() = default;
  // The words in box (the picture's pixels, inside the prepared area), read alone with
  // pass, their boxes in the picture's pixels.
  virtual std::vector<TReadWord> ReadAlone(const TTextBox& box, TReadPass pass) = 0;
  virtual TWordKind KindOf(const std::string& word) = 0;
  // False for a reader that judges no word (every KindOf is Unjudged).
  virtual bool HasDictionary() const { return true; }
};

// words, as the reader read the whole of area, mended as above.
std::vector<TReadWord> RepairWords(std::vector<TReadWord> words, const TPreparedArea& area, TWordReader& reader);

// The decisions, for tests. A word is read again alone when it is unsure or unknown.
bool WantsReadingAlone(const TReadWord& word, TWordKind kind);

// A cut of whole into parts (the words read left and right of a gap) stands when all
// parts are known words read no less surely than whole, or when the least sure part is
// much surer than whole.
struct TCutReading {
  std::vector<TReadWord> Parts;
  bool AllKnown = false;
};
bool CutStands(const TReadWord& whole, const TCutReading& cut);

// Two words touch on one line: they share most of the smaller one's height and lie at
// most two pixels apart (or overlap by as much, as boxes are rounded out), left first.
bool Touch(const TReadWord& left, const TReadWord& right);
// Their reading together (joined) replaces them when it is one word, and a known one no
// less sure than the less sure of them, or one no less sure than either and much surer
// than the less sure.
bool JoinStands(const TReadWord& left, const TReadWord& right, const std::vector<TReadWord>& joined, TWordKind kind);
