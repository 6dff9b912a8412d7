#include "text/word_tracker.h"

#include <algorithm>

namespace {
// A change this near a word, sideways, may have made it another word (a letter typed
// behind it).
TTextBox Surroundings(const TTextBox& box) { return box.Expanded(std::max(box.Height() / 2, 2), 1); }

// The word's inside, away from the caret and the underlines that touch its edges.
TTextBox Inside(const TTextBox& box) { return box.Width() > 4 && box.Height() > 4 ? box.Expanded(-1, -1) : box; }

bool SamePlace(const TTextBox& a, const TTextBox& b) {
  const int32_t tolerance = std::max(2, std::min(a.Height(), b.Height()) / 3);
  return std::abs(a.Left - b.Left) <= tolerance && std::abs(a.Right - b.Right) <= tolerance &&
         std::abs(a.Top - b.Top) <= tolerance && std::abs(a.Bottom - b.Bottom) <= tolerance;
}
}  // namespace

void TWordTracker::Changed(const TTextBox& box, double seconds) {
  for (const size_t i : FOpen) {
    Entry& entry = FEntries[i];
    if (entry.NearChange < 0 && Surroundings(entry.Word.Box).Intersects(box)) entry.NearChange = seconds;
    if (entry.OwnChange < 0 && Inside(entry.Word.Box).Intersects(box)) entry.OwnChange = seconds;
  }
}

TTextBox TWordTracker::Widened(const TTextBox& area) const {
  for (const size_t i : FOpen) {
    const TTextBox& word = FEntries[i].Word.Box;
    const TTextBox around = Surroundings(word);
    const bool withinWord = around.Left <= area.Left && area.Right <= around.Right;
    if (FEntries[i].Open && withinWord && Inside(word).Intersects(area)) return area.Union(word);
  }
  return area;
}

// The word read again where an entry is: the same word, or, where the entry's pixels
// did not change, another reading of them (the surer one is kept). Returns false for
// a word that is new there.
bool TWordTracker::Reread(const TReadWord& word, double seconds, const TScreenSettle& settle) {
  for (const size_t i : FOpen) {
    Entry& entry = FEntries[i];
    if (!entry.Open || !SamePlace(entry.Word.Box, word.Box)) continue;
    if (entry.Word.Text == word.Text) {
      entry.Word.Confidence = std::max(entry.Word.Confidence, word.Confidence);
      entry.Confirm();
      return true;
    }
    if (entry.OwnChange >= 0) continue;
    if (word.Confidence > entry.Word.Confidence) {
      entry.Word.Text = word.Text;
      entry.Word.Confidence = word.Confidence;
      entry.Word.Box = word.Box;
      entry.Word.From = std::min(entry.Word.From, settle.SettledSince(Inside(word.Box), seconds));
    }
    entry.Confirm();
    return true;
  }
  return false;
}

// A new word lies on the entry: it went when something changed beside it, at the
// latest when the new word came. One that the reader was less sure of than of the
// new word, and whose own pixels never changed, was a misreading of them.
void TWordTracker::Supersede(Entry& entry, const TReadWord& word, double from) {
  entry.Open = false;
  if (entry.OwnChange < 0 && word.Confidence > entry.Word.Confidence) {
    entry.Misread = true;
    return;
  }
  const double went = entry.NearChange >= 0 ? entry.NearChange : entry.OwnChange >= 0 ? entry.OwnChange : from;
  entry.Word.To = std::max(entry.Word.From, std::min(went, from));
}

void TWordTracker::Read(const TTextBox& area, const std::vector<TReadWord>& words, double seconds,
                        const TScreenSettle& settle) {
  std::vector<const TReadWord*> fresh;
  for (const TReadWord& word : words)
    if (!Reread(word, seconds, settle)) fresh.push_back(&word);
  for (const TReadWord* word : fresh) {
    const double from = settle.SettledSince(Inside(word->Box), seconds);
    for (const size_t i : FOpen)
      if (FEntries[i].Open && Inside(FEntries[i].Word.Box).Intersects(Inside(word->Box)))
        Supersede(FEntries[i], *word, from);
    FOpen.push_back(FEntries.size());
    FEntries.push_back({{word->Text, word->Confidence, FSegment, word->Box, from, from}});
  }
  // Entries of the area whose pixels changed and that the reading did not find again.
  for (const size_t i : FOpen) {
    Entry& entry = FEntries[i];
    if (entry.Open && entry.OwnChange >= 0 && entry.Word.Box.Intersects(area)) {
      entry.Word.To = std::max(entry.Word.From, entry.OwnChange);
      entry.Open = false;
    }
  }
  std::erase_if(FOpen, [&](size_t i) { return !FEntries[i].Open; });
}

std::vector<TIndexedWord> TWordTracker::Finish(double endSeconds) {
  std::vector<TIndexedWord> words;
  for (Entry& entry : FEntries) {
    if (entry.Open) entry.Word.To = std::max(entry.Word.From, entry.OwnChange >= 0 ? entry.OwnChange : endSeconds);
    if (!entry.Misread) words.push_back(entry.Word);
  }
  FEntries.clear();
  FOpen.clear();
  return words;
}
