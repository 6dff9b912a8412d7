#include "text/word_tracker.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>

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

// A reader's boxes of the same word may differ by a pixel or two.
constexpr int32_t kShiftTolerance = 2;

bool SameSize(const TTextBox& a, const TTextBox& b) {
  return std::abs(a.Width() - b.Width()) <= kShiftTolerance && std::abs(a.Height() - b.Height()) <= kShiftTolerance;
}

// An entry and a fresh word of its text and size: the word may be the entry, shifted.
struct TShifted {
  size_t Entry;
  const TReadWord* Word;
  int32_t Dx, Dy;
};

// The shifts near the offset that most shifts lie near; fewer than two: no move. The
// offsets are counted once each, so many words of one text cost no more than sorting them.
std::vector<TShifted> CommonShift(const std::vector<TShifted>& shifts) {
  std::map<std::pair<int32_t, int32_t>, size_t> counts;
  for (const TShifted& shift : shifts) ++counts[{shift.Dx, shift.Dy}];
  std::pair<int32_t, int32_t> best;
  size_t bestCount = 0;
  for (const auto& [offset, count] : counts) {
    size_t near = 0;
    for (int32_t dx = -kShiftTolerance; dx <= kShiftTolerance; ++dx)
      for (int32_t dy = -kShiftTolerance; dy <= kShiftTolerance; ++dy)
        if (const auto found = counts.find({offset.first + dx, offset.second + dy}); found != counts.end())
          near += found->second;
    if (near > bestCount) best = offset, bestCount = near;
  }
  std::vector<TShifted> common;
  if (bestCount < 2) return common;
  for (const TShifted& shift : shifts)
    if (std::abs(shift.Dx - best.first) <= kShiftTolerance && std::abs(shift.Dy - best.second) <= kShiftTolerance)
      common.push_back(shift);
  return common;
}
}  // namespace

void TWordTracker::SetPlace(Entry& entry, const TTextBox& box) {
  (entry.Word.Moves.empty() ? entry.Word.Box : entry.Word.Moves.back().Box) = box;
  entry.Place = box;
}

// Fresh words that are open entries moved with their neighbours: the entries whose own
// pixels changed, found again shifted by one offset that two or more of them share.
// Those words are taken out of fresh.
void TWordTracker::FollowMoves(std::vector<const TReadWord*>& fresh) {
  std::vector<TShifted> shifts;
  for (const TReadWord* word : fresh)
    for (const size_t i : FOpen) {
      const Entry& entry = FEntries[i];
      if (entry.Open && entry.OwnChange >= 0 && entry.Word.Text == word->Text && SameSize(entry.Place, word->Box))
        shifts.push_back({i, word, word->Box.Left - entry.Place.Left, word->Box.Top - entry.Place.Top});
    }
  std::set<const TReadWord*> moved;
  std::set<size_t> movedEntries;
  for (const TShifted& shift : CommonShift(shifts)) {
    if (moved.contains(shift.Word) || movedEntries.contains(shift.Entry)) continue;
    Entry& entry = FEntries[shift.Entry];
    entry.Word.Moves.push_back({entry.OwnChange, shift.Word->Box});
    entry.Place = shift.Word->Box;
    entry.Word.Confidence = std::max(entry.Word.Confidence, shift.Word->Confidence);
    entry.Confirm();
    moved.insert(shift.Word);
    movedEntries.insert(shift.Entry);
  }
  std::erase_if(fresh, [&](const TReadWord* word) { return moved.contains(word); });
}

void TWordTracker::Changed(const TTextBox& box, double seconds) {
  for (const size_t i : FOpen) {
    Entry& entry = FEntries[i];
    if (entry.NearChange < 0 && Surroundings(entry.Place).Intersects(box)) entry.NearChange = seconds;
    if (entry.OwnChange < 0 && Inside(entry.Place).Intersects(box)) entry.OwnChange = seconds;
  }
}

TTextBox TWordTracker::Widened(const TTextBox& area) const {
  for (const size_t i : FOpen) {
    const TTextBox& word = FEntries[i].Place;
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
    if (!entry.Open || !SamePlace(entry.Place, word.Box)) continue;
    if (entry.Word.Text == word.Text) {
      entry.Word.Confidence = std::max(entry.Word.Confidence, word.Confidence);
      entry.Confirm();
      return true;
    }
    if (entry.OwnChange >= 0) continue;
    if (word.Confidence > entry.Word.Confidence) {
      entry.Word.Text = word.Text;
      entry.Word.Confidence = word.Confidence;
      SetPlace(entry, word.Box);
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
  FollowMoves(fresh);
  for (const TReadWord* word : fresh) {
    const double from = settle.SettledSince(Inside(word->Box), seconds);
    for (const size_t i : FOpen)
      if (FEntries[i].Open && Inside(FEntries[i].Place).Intersects(Inside(word->Box)))
        Supersede(FEntries[i], *word, from);
    FOpen.push_back(FEntries.size());
    FEntries.push_back({{word->Text, word->Confidence, FSegment, word->Box, from, from, {}}, word->Box});
  }
  // Entries of the area whose pixels changed and that the reading did not find again.
  for (const size_t i : FOpen) {
    Entry& entry = FEntries[i];
    if (entry.Open && entry.OwnChange >= 0 && entry.Place.Intersects(area)) {
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
