#pragma once
// Chooses among readings of one place made from different preparations: the area read
// whole, the word read alone, read alone larger. The reader is sure of many a misreading
// and its readings of one word alone lean the same way (`Окна` for `Окно` at both
// sizes), so agreement proves little; a reading of dictionary words counts for more,
// and the first reading, made with the word's line around it, stays unless another is
// clearly better.
#include <cstdint>
#include <string>
#include <vector>

#include "text/word_tracker.h"

struct TReading {
  std::vector<TReadWord> Words;
  bool AllKnown = false;  // every word is in the reader's dictionary
};

// The text of a reading: its words, a space between them.
std::string ReadingText(const std::vector<TReadWord>& words);

// The confidence of the least sure of words; 100 for none.
int32_t LeastSure(const std::vector<TReadWord>& words);

// How good a reading is: its least sure word's confidence, more when all its words are
// known. An empty reading has none.
int32_t ReadingScore(const TReading& reading);

// The words of the first of readings, unless another scores `lead` more; then the best
// of those. Empty when all readings are empty.
std::vector<TReadWord> ChosenReading(const std::vector<TReading>& readings, int32_t lead);
