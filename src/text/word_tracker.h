#pragma once
// Turns readings of a segment's screen into index entries. The same word read again at
// the same place is the entry it was; an entry ends when its pixels changed and a
// reading no longer finds it there (the menu closed, the line was typed over), dated
// by the first change to it. While its pixels stay as they are, a word stays on screen
// whatever a reading makes of them: a reader that misses it once loses nothing, and a
// later reading of the same pixels that the reader is surer of corrects it.
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
  // What the reader found in area of the picture shown at `seconds`; settle dates the
  // words that are new.
  void Read(const TTextBox& area, const std::vector<TReadWord>& words, double seconds, const TScreenSettle& settle);
  // Ends the entries still on screen at the segment's end and hands over all of them,
  // in the order they came.
  std::vector<TIndexedWord> Finish(double endSeconds);

private:
  struct Entry {
    TIndexedWord Word;
    double ChangedAt = -1;  // the first change to its pixels since it was last read; -1: none
    bool Open = true;
    bool Misread = false;  // replaced by a surer reading of the same pixels
  };
  void Close(Entry& entry, double seconds);
  Entry* SameWord(const TReadWord& word);
  // Whether the word lies on entries whose pixels have not changed since they were
  // read: then the reader made something else of the same pixels, and the surer
  // reading stays.
  bool HeldByUnchanged(const TReadWord& word);

  int32_t FSegment;
  std::vector<Entry> FEntries;
  std::vector<size_t> FOpen;  // indices of the entries on screen
};
