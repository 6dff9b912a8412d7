#include "text/word_repair.h"

#include <algorithm>

#include "text/ink_gaps.h"
#include "text/utf8_text.h"

namespace {
constexpr int32_t kSure = 90;          // below this a word is read again alone
constexpr int32_t kMuchSurer = 5;      // a cut or a join without the dictionary's word must gain this
constexpr int32_t kSureEnough = 85;    // and reach this
constexpr size_t kShortestCut = 6;     // letters a word needs before it is cut
constexpr size_t kMostGaps = 4;        // widest gaps tried per word
constexpr int32_t kTouching = 2;       // pixels between words that may be one

size_t Letters(const std::string& text) {
  size_t letters = 0;
  for (size_t at = 0; at < text.size();) {
    const auto [code, length] = DecodeUtf8(text, at);
    letters += code != 0 && length != 0;
    at += std::max<size_t>(length, 1);
  }
  return letters;
}

int32_t LeastSure(const std::vector<TReadWord>& reading) {
  int32_t least = 100;
  for (const TReadWord& word : reading) least = std::min(least, word.Confidence);
  return least;
}

// The reading of word alone when it is unsure or unknown and the reading is surer.
std::vector<TReadWord> ReadAgain(const TReadWord& word, TWordReader& reader) {
  if (!WantsReadingAlone(word, reader.KindOf(word.Text))) return {word};
  std::vector<TReadWord> alone = reader.ReadAlone(word.Box);
  return SurerThan(alone, word.Confidence) ? alone : std::vector<TReadWord>{word};
}

// word, or its parts at the cut of its widest gaps that stands and reads surest.
std::vector<TReadWord> Cut(const TReadWord& word, const TPreparedArea& area, TWordReader& reader) {
  if (Letters(word.Text) < kShortestCut || reader.KindOf(word.Text) != TWordKind::Unknown) return {word};
  std::vector<TReadWord> best{word};
  int32_t bestConfidence = -1;
  for (const TInkGap& gap : WidestInkGaps(area, word.Box, kMostGaps)) {
    TCutReading cut{reader.ReadAlone({word.Box.Left, word.Box.Top, gap.Left, word.Box.Bottom}), true};
    const std::vector<TReadWord> right = reader.ReadAlone({gap.Right, word.Box.Top, word.Box.Right, word.Box.Bottom});
    if (cut.Parts.empty() || right.empty()) continue;
    cut.Parts.insert(cut.Parts.end(), right.begin(), right.end());
    for (const TReadWord& part : cut.Parts) cut.AllKnown &= reader.KindOf(part.Text) == TWordKind::Known;
    if (CutStands(word, cut) && LeastSure(cut.Parts) > bestConfidence) {
      bestConfidence = LeastSure(cut.Parts);
      best = std::move(cut.Parts);
    }
  }
  return best;
}

// Two known words read surely are not read together again.
bool BothSure(const TReadWord& left, const TReadWord& right, TWordReader& reader) {
  return left.Confidence >= kSure && right.Confidence >= kSure && reader.KindOf(left.Text) == TWordKind::Known &&
         reader.KindOf(right.Text) == TWordKind::Known;
}

// Joins touching fragments, left to right, as long as a join stands.
void JoinFragments(std::vector<TReadWord>& words, TWordReader& reader) {
  std::sort(words.begin(), words.end(), [](const TReadWord& a, const TReadWord& b) { return a.Box.Left < b.Box.Left; });
  for (size_t i = 0; i < words.size(); ++i)
    for (size_t j = i + 1; j < words.size(); ++j) {
      if (!Touch(words[i], words[j]) || BothSure(words[i], words[j], reader)) continue;
      const std::vector<TReadWord> joined = reader.ReadAlone(words[i].Box.Union(words[j].Box));
      if (!JoinStands(words[i], words[j], joined, joined.size() == 1 ? reader.KindOf(joined[0].Text) : TWordKind::Unknown))
        continue;
      words[i] = joined[0];
      words.erase(words.begin() + std::ptrdiff_t(j));
      j = i;  // the joined word may touch the next fragment
    }
}
}  // namespace

bool WantsReadingAlone(const TReadWord& word, TWordKind kind) {
  return word.Confidence < kSure || kind == TWordKind::Unknown;
}

bool SurerThan(const std::vector<TReadWord>& reading, int32_t confidence) {
  return !reading.empty() && LeastSure(reading) > confidence;
}

bool CutStands(const TReadWord& whole, const TCutReading& cut) {
  if (cut.Parts.size() < 2) return false;
  const int32_t least = LeastSure(cut.Parts);
  return (cut.AllKnown && least >= whole.Confidence) || least >= std::max(whole.Confidence + kMuchSurer, kSureEnough);
}

bool Touch(const TReadWord& left, const TReadWord& right) {
  const int32_t gap = right.Box.Left - left.Box.Right;
  const int32_t shared = std::min(left.Box.Bottom, right.Box.Bottom) - std::max(left.Box.Top, right.Box.Top);
  return gap >= 0 && gap <= kTouching && 2 * shared >= std::min(left.Box.Height(), right.Box.Height());
}

bool JoinStands(const TReadWord& left, const TReadWord& right, const std::vector<TReadWord>& joined, TWordKind kind) {
  if (joined.size() != 1) return false;
  const int32_t confidence = joined[0].Confidence;
  const bool surer = kind == TWordKind::Known || confidence >= std::max(left.Confidence, right.Confidence) + kMuchSurer;
  return surer && confidence >= std::min(left.Confidence, right.Confidence);
}

std::vector<TReadWord> RepairWords(std::vector<TReadWord> words, const TPreparedArea& area, TWordReader& reader) {
  std::vector<TReadWord> mended;
  for (const TReadWord& word : words)
    for (const TReadWord& again : ReadAgain(word, reader))
      for (TReadWord& part : Cut(again, area, reader)) mended.push_back(std::move(part));
  JoinFragments(mended, reader);
  return mended;
}
