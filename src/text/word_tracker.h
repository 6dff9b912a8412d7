#pragma once
// Turns readings of a segment's screen into index entries. The same word read again at
// the same place is the entry it was. While a word's own pixels stay as they are, it
// stays on screen whatever a reading makes of them: a reader that misses it once loses
// nothing, and a reading of the same place that the reader is surer of corrects it.
// An entry ends when its pixels changed and a reading no longer finds it there (the
// menu closed, the line was deleted), dated by that change, or when a new word comes
// to lie on it (a letter typed behind it made it another word). Words that move together
// (a list scrolled, a window dragged) stay their entries, moved: a reading finds two or
// more of them again, each shifted by the same offset.
#include <string>
#include <vector>

#include "text/screen_settle.h"
#include "text/text_index.h"

// A word as the reader found it, its box in the segment's pixels.
struct TReadWord {
  std::string Text;
  int32_t Confidence = 0;
  TTextBox Box;
};

class TWordTracker {
public:
  explicit TWordTracker(int32_t segment) : FSegment(segment) {}

  // The picture shown at `seconds` differs from the one before inside box.
  void Changed(const TTextBox& box, double seconds);
  // area grown to hold the words on screen that it cuts into, so that a change inside a
  // word (a clock's last digit, a letter corrected) is read with the rest of the word
  // rather than as a fragment of it.
  TTextBox Widened(const TTextBox& area) const;
  // What the reader found in area of the picture shown at `seconds`; settle dates the
  // words that are new.
  void Read(const TTextBox& area, const std::vector<TReadWord>& words, double seconds, const TScreenSettle& settle);
  // Ends the entries still on screen at the segment's end and hands over all of them,
  // in the order they came.
  std::vector<TIndexedWord> Finish(double endSeconds);

private:
  struct Entry {
    TIndexedWord Word;
    TTextBox Place;  // where it stands now: Word.Box, or its last move's
    // The first change since it was last read to its own pixels, and to them or beside
    // them; -1: none.
    double OwnChange = -1, NearChange = -1;
    bool Open = true;
    bool Misread = false;  // a surer reading of its pixels showed it was never there
    void Confirm() { OwnChange = NearChange = -1; }
  };
  bool Reread(const TReadWord& word, double seconds, const TScreenSettle& settle);
  void FollowMoves(std::vector<const TReadWord*>& fresh);
  static void SetPlace(Entry& entry, const TTextBox& box);
  void Supersede(Entry& entry, const TReadWord& word, double from);

  int32_t FSegment;
  std::vector<Entry> FEntries;
  std::vector<size_t> FOpen;  // indices of the entries on screen
};
