#include "text/word_repair.h"

#include <algorithm>
#include <optional>

#include "text/ink_gaps.h"
#include "text/reading_choice.h"
#include "text/utf8_text.h"

namespace {
constexpr int32_t kSure = 90;        // below this a word is read again alone
constexpr int32_t kFirstLead = 10;   // the reading in its line stays unless one alone scores this more
constexpr int32_t kMuchSurer = 5;    // a cut or a join without the dictionary's words must gain this
constexpr int32_t kSureEnough = 85;  // and reach this
constexpr size_t kShortestCut = 6;   // letters a word needs before it is cut
constexpr size_t kMostGaps = 4;      // widest gaps tried per word
constexpr int32_t kTouching = 2;     // pixels between words that may be one (boxes are rounded out)

size_t Letters(const std::string& text) {
  size_t letters = 0;
  for (size_t at = 0; at < text.size();) {
    const auto [code, length] = DecodeUtf8(text, at);
    letters += code != 0 && length != 0;
    at += std::max<size_t>(length, 1);
  }
  return letters;
}

TReading Judged(std::vector<TReadWord> words, TWordReader& reader) {
  const bool known = std::all_of(words.begin(), words.end(),
                                 [&](const TReadWord& w) { return reader.KindOf(w.Text) == TWordKind::Known; });
  return {std::move(words), known};
}

// Where the readings of a word alone that were not chosen saw one word end and the
// next begin: places to try a cut.
std::vector<int32_t> Boundaries(const std::vector<TReading>& readings) {
  std::vector<int32_t> boundaries;
  for (const TReading& reading : readings)
    for (size_t i = 1; i < reading.Words.size(); ++i)
      boundaries.push_back((reading.Words[i - 1].Box.Right + reading.Words[i].Box.Left) / 2);
  return boundaries;
}

struct TReadAgain {
  std::vector<TReadWord> Words;
  std::vector<int32_t> Boundaries;
};

// When word is unsure or unknown, it is read alone, and larger where that reads
// otherwise; the best of the readings stays (text/reading_choice.h).
TReadAgain ReadAgain(const TReadWord& word, TWordReader& reader) {
  if (!WantsReadingAlone(word, reader.KindOf(word.Text))) return {{word}, {}};
  std::vector<TReading> readings{Judged({word}, reader), Judged(reader.ReadAlone(word.Box, WordPass()), reader)};
  if (ReadingText(readings[1].Words) != word.Text)
    readings.push_back(Judged(reader.ReadAlone(word.Box, LargerWordPass()), reader));
  return {ChosenReading(readings, kFirstLead), Boundaries(readings)};
}

// The gaps of box a cut is tried at: its widest, and those at the boundaries.
std::vector<TInkGap> CutPlaces(const TPreparedArea& area, const TTextBox& box, const std::vector<int32_t>& boundaries) {
  std::vector<TInkGap> places = WidestInkGaps(area, box, kMostGaps);
  const std::vector<TInkGap> gaps = InkGaps(area, box);
  for (const int32_t x : boundaries)
    if (const std::optional<TInkGap> near = GapNear(gaps, x, kTouching))
      if (std::none_of(places.begin(), places.end(), [&](const TInkGap& p) { return p.Left == near->Left; }))
        places.push_back(*near);
  return places;
}

// word, or its parts at the cut that stands and reads surest, each part cut again in turn
// (three words read as one).
std::vector<TReadWord> Cut(const TReadWord& word, const TPreparedArea& area, TWordReader& reader,
                           const std::vector<int32_t>& boundaries) {
  if (Letters(word.Text) < kShortestCut || !reader.HasDictionary() || reader.KindOf(word.Text) == TWordKind::Known)
    return {word};
  std::vector<TReadWord> best{word};
  int32_t bestConfidence = -1;
  const TTextBox& box = word.Box;
  for (const TInkGap& gap : CutPlaces(area, box, boundaries)) {
    TCutReading cut{reader.ReadAlone({box.Left, box.Top, gap.Left, box.Bottom}, WordPass()), true};
    const std::vector<TReadWord> right = reader.ReadAlone({gap.Right, box.Top, box.Right, box.Bottom}, WordPass());
    if (cut.Parts.empty() || right.empty()) continue;
    cut.Parts.insert(cut.Parts.end(), right.begin(), right.end());
    for (const TReadWord& part : cut.Parts) cut.AllKnown &= reader.KindOf(part.Text) == TWordKind::Known;
    if (CutStands(word, cut) && LeastSure(cut.Parts) > bestConfidence) {
      bestConfidence = LeastSure(cut.Parts);
      best = std::move(cut.Parts);
    }
  }
  if (best.size() == 1) return best;
  std::vector<TReadWord> parts;
  for (const TReadWord& part : best)
    for (TReadWord& piece : Cut(part, area, reader, boundaries)) parts.push_back(std::move(piece));
  return parts;
}

// Joins touching fragments, as long as a join stands; the words keep their order.
void JoinFragments(std::vector<TReadWord>& words, TWordReader& reader) {
  for (size_t i = 0; i < words.size(); ++i)
    for (size_t j = 0; j < words.size(); ++j) {
      if (j == i || !Touch(words[i], words[j])) continue;
      const std::vector<TReadWord> joined = reader.ReadAlone(words[i].Box.Union(words[j].Box), WordPass());
      const TWordKind kind = joined.size() == 1 ? reader.KindOf(joined[0].Text) : TWordKind::Unknown;
      if (!JoinStands(words[i], words[j], joined, kind)) continue;
      words[i] = joined[0];
      words.erase(words.begin() + std::ptrdiff_t(j));
      if (j < i) --i;
      j = size_t(-1);  // the joined word may touch another fragment
    }
}
}  // namespace

bool WantsReadingAlone(const TReadWord& word, TWordKind kind) {
  return word.Confidence < kSure || kind == TWordKind::Unknown;
}

bool CutStands(const TReadWord& whole, const TCutReading& cut) {
  if (cut.Parts.size() < 2) return false;
  const int32_t least = LeastSure(cut.Parts);
  return (cut.AllKnown && least >= whole.Confidence) || least >= std::max(whole.Confidence + kMuchSurer, kSureEnough);
}

bool Touch(const TReadWord& left, const TReadWord& right) {
  const int32_t gap = right.Box.Left - left.Box.Right;
  const int32_t shared = std::min(left.Box.Bottom, right.Box.Bottom) - std::max(left.Box.Top, right.Box.Top);
  return gap >= -kTouching && gap <= kTouching && 2 * shared >= std::min(left.Box.Height(), right.Box.Height());
}

bool JoinStands(const TReadWord& left, const TReadWord& right, const std::vector<TReadWord>& joined, TWordKind kind) {
  if (joined.size() != 1) return false;
  const int32_t confidence = joined[0].Confidence;
  const int32_t least = std::min(left.Confidence, right.Confidence), most = std::max(left.Confidence, right.Confidence);
  if (kind == TWordKind::Known) return confidence >= least;
  return confidence >= most && confidence >= least + kMuchSurer;
}

std::vector<TReadWord> RepairWords(std::vector<TReadWord> words, const TPreparedArea& area, TWordReader& reader) {
  std::vector<TReadWord> mended;
  for (const TReadWord& word : words) {
    const TReadAgain again = ReadAgain(word, reader);
    for (const TReadWord& chosen : again.Words)
      for (TReadWord& part : Cut(chosen, area, reader, again.Boundaries)) mended.push_back(std::move(part));
  }
  JoinFragments(mended, reader);
  return mended;
}
