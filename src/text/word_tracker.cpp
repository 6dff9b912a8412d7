#include "text/word_tracker.h"

#include <algorithm>

namespace {
// A change this near a word, sideways, may have made it another word (a letter typed
// behind it); the caret blinking beside it counts too, and the next reading settles it.
TTextBox Surroundings(const TTextBox& box) { return box.Expanded(std::max(box.Height() / 2, 2), 1); }

// The word's inside, away from the caret and the underlines that touch its edges.
TTextBox Inside(const TTextBox& box) {
  return box.Width() > 4 && box.Height() > 4 ? box.Expanded(-1, -1) : box;
}

bool SamePlace(const TTextBox& a, const TTextBox& b) {
  return OverlapOfSmaller(a, b) >= 0.6 && std::abs(a.Height() - b.Height()) <= std::max(a.Height(), b.Height()) / 3;
}
}  // namespace

void TWordTracker::Changed(const TTextBox& box, double seconds) {
  for (const size_t i : FOpen) {
    Entry& entry = FEntries[i];
    if (entry.ChangedAt < 0 && Surroundings(entry.Word.Box).Intersects(box)) entry.ChangedAt = seconds;
  }
}

void TWordTracker::Close(Entry& entry, double seconds) {
  entry.Word.To = std::max(seconds, entry.Word.From);
  entry.Open = false;
}

TWordTracker::Entry* TWordTracker::SameWord(const TReadWord& word) {
  for (const size_t i : FOpen)
    if (FEntries[i].Open && FEntries[i].Word.Text == word.Text && SamePlace(FEntries[i].Word.Box, word.Box))
      return &FEntries[i];
  return nullptr;
}

bool TWordTracker::HeldByUnchanged(const TReadWord& word) {
  std::vector<Entry*> under;
  for (const size_t i : FOpen) {
    Entry& entry = FEntries[i];
    if (entry.Open && entry.ChangedAt < 0 && Inside(entry.Word.Box).Intersects(Inside(word.Box))) under.push_back(&entry);
  }
  if (under.empty()) return false;
  const bool surer = std::all_of(under.begin(), under.end(), [&](Entry* e) { return word.Confidence > e->Word.Confidence; });
  if (!surer) return true;
  TIndexedWord& kept = under.front()->Word;
  for (Entry* e : under) kept.From = std::min(kept.From, e->Word.From);
  kept.Text = word.Text;
  kept.Confidence = word.Confidence;
  kept.Box = word.Box;
  for (size_t i = 1; i < under.size(); ++i) {
    under[i]->Misread = true;
    under[i]->Open = false;
  }
  return true;
}

void TWordTracker::Read(const TTextBox& area, const std::vector<TReadWord>& words, double seconds,
                        const TScreenSettle& settle) {
  std::vector<const TReadWord*> fresh;
  for (const TReadWord& word : words) {
    if (Entry* same = SameWord(word)) {
      same->ChangedAt = -1;
      same->Word.Confidence = std::max(same->Word.Confidence, word.Confidence);
    } else if (!HeldByUnchanged(word)) {
      fresh.push_back(&word);
    }
  }
  // Changed entries of the area that the reading did not find again are gone, and so
  // are those a new word lies on.
  for (const size_t i : FOpen) {
    Entry& entry = FEntries[i];
    if (entry.ChangedAt >= 0 && entry.Word.Box.Intersects(area)) Close(entry, entry.ChangedAt);
  }
  std::vector<size_t> closed;
  std::erase_if(FOpen, [&](size_t i) {
    if (!FEntries[i].Open && !FEntries[i].Misread) closed.push_back(i);
    return !FEntries[i].Open;
  });
  for (const TReadWord* word : fresh) {
    const double from = settle.SettledSince(Inside(word->Box), seconds);
    // What lay there before went when this came, at the latest.
    for (const size_t i : closed) {
      TIndexedWord& gone = FEntries[i].Word;
      if (gone.Box.Intersects(word->Box) && from > gone.From) gone.To = std::min(gone.To, from);
    }
    FOpen.push_back(FEntries.size());
    FEntries.push_back({{word->Text, word->Confidence, FSegment, word->Box, from, from}, -1, true});
  }
}

std::vector<TIndexedWord> TWordTracker::Finish(double endSeconds) {
  std::vector<TIndexedWord> words;
  for (Entry& entry : FEntries) {
    if (entry.Open) Close(entry, entry.ChangedAt >= 0 ? entry.ChangedAt : endSeconds);
    if (!entry.Misread) words.push_back(entry.Word);
  }
  FEntries.clear();
  FOpen.clear();
  return words;
}
