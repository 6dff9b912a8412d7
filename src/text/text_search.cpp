#include "text/text_search.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <map>
#include <tuple>
#include <unordered_map>

#include "text/utf8_text.h"

namespace {
constexpr size_t kNone = size_t(-1);

// Blocks of symbols, punctuation and icons, which screens put beside words (→Next, ✔Done,
// an icon font's glyphs, emoji and the selector that asks for them).
constexpr std::pair<char32_t, char32_t> kSymbolBlocks[] = {
    {0x2000, 0x2BFF},  // punctuation, currency, letterlike, arrows, maths, shapes, dingbats
    {0x2E00, 0x2E7F},  // more punctuation
    {0x3000, 0x303F},  // CJK punctuation
    {0xE000, 0xF8FF},  // private use: icon fonts
    {0xFE00, 0xFE6F},  // variation selectors, vertical and small forms
    {0xFF01, 0xFF0F},  {0xFF1A, 0xFF20}, {0xFF3B, 0xFF40}, {0xFF5B, 0xFF65},  // fullwidth punctuation
    {0xFFF0, 0xFFFF},    // specials: the replacement character
    {0x1F000, 0x1FBFF},  // emoji and pictographs
};

// Letters and digits of any script; the punctuation and symbols above are not.
bool IsWordCharacter(char32_t code) {
  if (code < 0x80) return (code >= '0' && code <= '9') || (code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z');
  if (code < 0xC0) return code == 0xAA || code == 0xB5 || code == 0xBA;
  if (code == 0xD7 || code == 0xF7) return false;
  return std::none_of(std::begin(kSymbolBlocks), std::end(kSymbolBlocks),
                      [&](const auto& block) { return code >= block.first && code <= block.second; });
}

bool IsDigit(char32_t code) { return code >= '0' && code <= '9'; }

// The Latin letter a Cyrillic one looks like (in either case, once folded: о and o, н
// and the H of НО), which the reader may take for it; every other letter as it is.
char32_t LatinTwin(char32_t code) {
  switch (code) {
    case U'а':
      return U'a';
    case U'в':
      return U'b';
    case U'е':
    case U'ё':  // written as е as often as not
      return U'e';
    case U'к':
      return U'k';
    case U'м':
      return U'm';
    case U'н':
      return U'h';
    case U'о':
      return U'o';
    case U'р':
      return U'p';
    case U'с':
      return U'c';
    case U'т':
      return U't';
    case U'у':
      return U'y';
    case U'х':
      return U'x';
    default:
      return code;
  }
}

// Whether text ends in a hyphen: a word broken at its line's end.
bool EndsInHyphen(std::string_view text) {
  size_t last = text.size();
  while (last > 0 && (uint8_t(text[last - 1]) & 0xC0) == 0x80) --last;
  if (last == 0) return false;
  const char32_t code = DecodeUtf8(text, last - 1).first;
  return code == U'-' || code == 0xAD || code == 0x2010 || code == 0x2011;
}

bool SameTime(const TIndexedWord& a, const TIndexedWord& b) { return a.From < b.To && b.From < a.To; }
bool SameTime(const TIndexedWord& a, double at) { return a.From <= at && at < std::max(a.To, a.From + 1e-3); }

// Whether b could follow a on its line: level with it, to its right, not far off.
bool Follows(const TIndexedWord& a, const TIndexedWord& b) {
  const int32_t height = std::max(a.Box.Height(), b.Box.Height());
  const int32_t overlap = std::min(a.Box.Bottom, b.Box.Bottom) - std::max(a.Box.Top, b.Box.Top);
  const int32_t gap = b.Box.Left - a.Box.Right;
  return a.Segment == b.Segment && overlap * 2 >= height && gap >= -2 && gap <= 2 * height && SameTime(a, b);
}

// Whether b could start the line below a's in one block of text: a line of about a's
// height, less than a line's height below it, starting within a height of where a's
// line starts (lineLeft).
bool StartsLineBelow(const TIndexedWord& a, int32_t lineLeft, const TIndexedWord& b) {
  const int32_t taller = std::max(a.Box.Height(), b.Box.Height());
  const int32_t shorter = std::min(a.Box.Height(), b.Box.Height());
  const int32_t gap = b.Box.Top - a.Box.Bottom;
  return a.Segment == b.Segment && 2 * taller <= 3 * shorter && gap >= -1 && gap < a.Box.Height() &&
         std::abs(b.Box.Left - lineLeft) <= a.Box.Height() && SameTime(a, b);
}
}  // namespace

std::string SearchForm(std::string_view word) {
  std::string form;
  const std::string folded = FoldedText(word);
  size_t kept = 0;  // the form's length up to its last letter or digit
  for (size_t at = 0; at < folded.size();) {
    const auto [code, length] = DecodeUtf8(folded, at);
    at += std::max<size_t>(length, 1);
    const bool inWord = length != 0 && IsWordCharacter(code);
    if (!inWord && form.empty()) continue;
    if (length == 0)
      form.push_back(folded[at - 1]);
    else
      AppendUtf8(form, inWord ? LatinTwin(code) : code);
    if (inWord) kept = form.size();
  }
  form.resize(kept);
  return form;
}

namespace {
// A search form without the punctuation inside it, which may be left out (e-mail as email,
// file.txt as filetxt), except between two digits (12:30 is not 1230), and where its
// parts start past the first, appended to partStarts: a run of punctuation parts a word
// (C:\Users\file.txt, user@mail.org), but a lone point or comma between digits is the
// number's own (3.14 has no part 14). Parts past the 16th or 255 bytes in are not told,
// so that matching a word stays a few comparisons.
std::string JoinedForm(std::string_view form, std::vector<uint8_t>* partStarts = nullptr) {
  constexpr size_t kMostParts = 16;
  std::string joined;
  size_t parts = 1;
  char32_t before = 0;  // the letter or digit before the punctuation being passed
  size_t runStart = 0, runCodes = 0;
  for (size_t at = 0; at < form.size();) {
    const auto [code, length] = DecodeUtf8(form, at);
    const size_t next = at + std::max<size_t>(length, 1);
    if (length == 0 || !IsWordCharacter(code)) {
      if (runCodes++ == 0) runStart = at;
      at = next;
      continue;
    }
    const bool betweenDigits = runCodes != 0 && IsDigit(before) && IsDigit(code);
    const bool numberPoint = betweenDigits && runCodes == 1 && (form[runStart] == '.' || form[runStart] == ',');
    if (betweenDigits) joined.append(form, runStart, at - runStart);
    if (runCodes != 0 && !numberPoint && parts < kMostParts && joined.size() <= 0xFF) {
      ++parts;
      if (partStarts) partStarts->push_back(uint8_t(joined.size()));
    }
    joined.append(form, at, next - at);
    runCodes = 0;
    before = code;
    at = next;
  }
  return joined;
}

std::vector<std::string> QueryTerms(std::string_view query) {
  std::vector<std::string> terms;
  for (size_t start = 0; start < query.size();) {
    const size_t space = std::min(query.find_first_of(" \t\n\r", start), query.size());
    if (std::string term = JoinedForm(SearchForm(query.substr(start, space - start))); !term.empty())
      terms.push_back(term);
    start = space + 1;
  }
  return terms;
}
}  // namespace

TTextSearch::TTextSearch(const TTextIndex& index)
    : FIndex(index), FNext(index.Words.size()), FPrevious(index.Words.size()), FBelow(index.Words.size()) {
  FForms.reserve(index.Words.size());
  FPartsFrom.reserve(index.Words.size() + 1);
  FHyphenated.reserve(index.Words.size());
  for (const TIndexedWord& word : index.Words) {
    FPartsFrom.push_back(uint32_t(FPartStarts.size()));
    FForms.push_back(JoinedForm(SearchForm(word.Text), &FPartStarts));
    FHyphenated.push_back(EndsInHyphen(word.Text));
  }
  FPartsFrom.push_back(uint32_t(FPartStarts.size()));
  LinkLines();
}

bool TTextSearch::Matches(size_t word, std::string_view term, bool whole) const {
  const std::string_view form = FForms[word];
  const auto matchesFrom = [&](size_t start) {
    const std::string_view rest = form.substr(start);
    return whole ? rest == term : rest.starts_with(term);
  };
  return FromAnyPart(word, matchesFrom);
}

template <class TMatchesFrom>
bool TTextSearch::FromAnyPart(size_t word, const TMatchesFrom& matchesFrom) const {
  return matchesFrom(0) || std::any_of(FPartStarts.begin() + FPartsFrom[word],
                                       FPartStarts.begin() + FPartsFrom[word + 1], matchesFrom);
}

bool TTextSearch::MatchesAcross(size_t word, size_t below, std::string_view term, bool whole) const {
  const std::string_view form = FForms[word], rest = FForms[below];
  const auto matchesFrom = [&](size_t start) {
    const std::string_view head = form.substr(start);
    if (head.empty() || !term.starts_with(head) || term.size() == head.size()) return false;
    const std::string_view tail = term.substr(head.size());
    return whole ? rest == tail : rest.starts_with(tail);
  };
  return FromAnyPart(word, matchesFrom);
}

// A word's place in its band: bands hold the words of a segment whose middles lie at
// about one height on screen, sorted by left edge and then by the time they came.
struct TTextSearch::TBandWord {
  int32_t Left;
  double From;
  size_t Word;
  bool operator<(const TBandWord& other) const { return std::tie(Left, From) < std::tie(other.Left, other.From); }
};

// One search's state: its terms, the partial matches that failed and the steps taken.
struct TTextSearch::TRun {
  std::vector<std::string> Terms;
  // For a word trying a term: a time window in which it failed; within any part of
  // it, it fails again.
  std::unordered_map<uint64_t, std::pair<double, double>> Failed;
  size_t Steps = 0;
  bool Step() { return ++Steps <= kSearchMostSteps; }
  bool Cut() const { return Steps > kSearchMostSteps; }
};

void TTextSearch::LinkLines() {
  constexpr int32_t kBand = 8;
  const auto& words = FIndex.Words;
  const auto bandOf = [&](size_t i) { return (words[i].Box.Top + words[i].Box.Bottom) / 2 / kBand; };
  std::map<std::tuple<int32_t, int32_t>, std::vector<TBandWord>> bands;
  for (size_t i = 0; i < words.size(); ++i)
    bands[{words[i].Segment, bandOf(i)}].push_back({words[i].Box.Left, words[i].From, i});
  for (auto& entry : bands) std::sort(entry.second.begin(), entry.second.end());
  // In the order the words came, so that the words a word follows are listed by time.
  std::vector<size_t> order(words.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return words[a].From < words[b].From; });
  for (const size_t i : order) {
    size_t passed = 0;
    for (int32_t b = bandOf(i) - 1; b <= bandOf(i) + 1; ++b)
      if (const auto found = bands.find({words[i].Segment, b}); found != bands.end())
        LinkFollowers(i, found->second, passed);
  }
  // The line below: from the words that end a line, to the first word of the next line
  // of their block, whose band lies between a's bottom and two heights under it.
  for (size_t i = 0; i < words.size(); ++i) {
    if (!FNext[i].empty()) continue;
    const int32_t lineLeft = LineLeft(i);
    size_t passed = 0;
    const TTextBox& box = words[i].Box;
    auto band = bands.lower_bound({words[i].Segment, (box.Bottom - 1) / kBand});
    const std::tuple<int32_t, int32_t> lastBand{words[i].Segment, (box.Bottom + 2 * box.Height()) / kBand};
    for (; band != bands.end() && band->first <= lastBand; ++band) LinkBelow(i, lineLeft, band->second, passed);
  }
}

// The left edge of the line word ends: of the first word found by going back along the
// line from word, among words on screen with it.
int32_t TTextSearch::LineLeft(size_t word) const {
  constexpr int kLongest = 64;
  const TIndexedWord& w = FIndex.Words[word];
  int32_t left = w.Box.Left;
  for (int k = 0; k < kLongest; ++k) {
    const auto& leaders = FPrevious[word];
    const auto leader = std::find_if(leaders.begin(), leaders.end(),
                                     [&](size_t l) { return SameTime(FIndex.Words[l], w); });
    if (leader == leaders.end()) break;
    word = *leader;
    left = std::min(left, FIndex.Words[word].Box.Left);
  }
  return left;
}

// The words of a band that start the line below word's; a word passes over at most
// kMostPassed words in looking for them.
void TTextSearch::LinkBelow(size_t word, int32_t lineLeft, const std::vector<TBandWord>& band, size_t& passed) {
  constexpr size_t kMostPassed = 64;
  const TIndexedWord& w = FIndex.Words[word];
  const int32_t height = w.Box.Height();
  auto candidate = std::lower_bound(band.begin(), band.end(), TBandWord{lineLeft - height, -1, 0});
  for (; candidate != band.end() && candidate->Left <= lineLeft + height && passed < kMostPassed; ++candidate) {
    ++passed;
    const size_t next = candidate->Word;
    const bool startsLine = std::none_of(FPrevious[next].begin(), FPrevious[next].end(),
                                         [&](size_t l) { return SameTime(FIndex.Words[l], w); });
    if (next != word && startsLine && StartsLineBelow(w, lineLeft, FIndex.Words[next])) FBelow[word].push_back(next);
  }
}

// Whether next already follows kMostLeadersAtOnce words on screen with word: only
// words stacked in one place do (never so in a film's index, but a document can say
// anything), and linking them all would cost the square of their number.
bool TTextSearch::Crowded(size_t next, size_t word) const {
  const std::vector<size_t>& leaders = FPrevious[next];
  if (leaders.size() < kMostLeadersAtOnce) return false;
  return std::all_of(leaders.end() - kMostLeadersAtOnce, leaders.end(),
                     [&](size_t leader) { return SameTime(FIndex.Words[leader], FIndex.Words[word]); });
}

// The words of a band that follow word: those that start just right of it, from a few
// that came before it to the last that came while it was on screen. A word passes over
// at most kMostPassed words there that do not follow it or are crowded, so that no
// arrangement of words costs more than that a word.
void TTextSearch::LinkFollowers(size_t word, const std::vector<TBandWord>& band, size_t& passed) {
  constexpr size_t kMostPassed = 1024;
  constexpr ptrdiff_t kEarlier = 8;
  const TIndexedWord& w = FIndex.Words[word];
  const double until = std::max(w.To, w.From + 1e-3);
  // A follower is at most twice as tall (they overlap by half the taller), so at most
  // four of this word's heights off.
  const int32_t farthest = w.Box.Right + 4 * w.Box.Height();
  auto group = std::lower_bound(band.begin(), band.end(), TBandWord{w.Box.Right - 2, -1, 0});
  while (group != band.end() && group->Left <= farthest && passed < kMostPassed) {
    const auto groupEnd = std::lower_bound(group, band.end(), TBandWord{group->Left + 1, -1, 0});
    auto candidate = std::lower_bound(group, groupEnd, TBandWord{group->Left, w.From, 0});
    candidate -= std::min(kEarlier, candidate - group);
    for (; candidate != groupEnd && candidate->From < until && passed < kMostPassed; ++candidate) {
      const size_t next = candidate->Word;
      if (next == word || !Follows(w, FIndex.Words[next]) || Crowded(next, word)) {
        ++passed;
        continue;
      }
      FNext[word].push_back(next);
      FPrevious[next].push_back(word);
    }
    ++passed;
    group = groupEnd;
  }
}

size_t TTextSearch::MatchFrom(TRun& run, size_t word, size_t term, double from, double to) const {
  if (!run.Step()) return kNone;
  const TIndexedWord& w = FIndex.Words[word];
  from = std::max(from, w.From);
  to = std::min(to, std::max(w.To, w.From + 1e-3));
  if (from >= to) return kNone;
  const bool last = term + 1 == run.Terms.size();
  if (Matches(word, run.Terms[term], !last)) {
    if (last) return word;
    if (const size_t end = MatchAfter(run, word, term + 1, from, to); end != kNone) return end;
  }
  // A word broken at its line's end by a hyphen goes on in the line below.
  if (!FHyphenated[word]) return kNone;
  for (const size_t below : FBelow[word]) {
    if (!run.Step()) return kNone;
    const TIndexedWord& b = FIndex.Words[below];
    const double bFrom = std::max(from, b.From), bTo = std::min(to, std::max(b.To, b.From + 1e-3));
    if (bFrom >= bTo || !MatchesAcross(word, below, run.Terms[term], !last)) continue;
    if (last) return below;
    if (const size_t end = MatchAfter(run, below, term + 1, bFrom, bTo); end != kNone) return end;
  }
  return kNone;
}

size_t TTextSearch::MatchAfter(TRun& run, size_t word, size_t term, double from, double to) const {
  const uint64_t state = uint64_t(word) * run.Terms.size() + term;
  if (const auto failed = run.Failed.find(state);
      failed != run.Failed.end() && failed->second.first <= from && to <= failed->second.second)
    return kNone;
  for (const auto* nextWords : {&FNext[word], &FBelow[word]})
    for (const size_t next : *nextWords)
      if (const size_t end = MatchFrom(run, next, term, from, to); end != kNone) return end;
  run.Failed[state] = {from, to};
  return kNone;
}

// Of the candidates on screen at `at`, the one nearest to word; npos when none is.
size_t TTextSearch::Nearest(TRun& run, const std::vector<size_t>& candidates, size_t word, double at) const {
  const auto distance = [&](size_t c) { return std::abs(FIndex.Words[c].Box.Left - FIndex.Words[word].Box.Left); };
  size_t best = kNone;
  for (const size_t c : candidates) {
    if (!run.Step()) return kNone;
    if (SameTime(FIndex.Words[c], at) && (best == kNone || distance(c) < distance(best))) best = c;
  }
  return best;
}

std::string TTextSearch::LineOf(TRun& run, size_t word, double at) const {
  constexpr size_t kLongest = 64;  // words each side
  std::deque<size_t> line{word};
  for (size_t w = word; line.size() < kLongest && (w = Nearest(run, FPrevious[w], w, at)) != kNone;)
    line.push_front(w);
  for (size_t w = word; line.size() < 2 * kLongest && (w = Nearest(run, FNext[w], w, at)) != kNone;)
    line.push_back(w);
  std::string text;
  for (const size_t w : line) text += (text.empty() ? "" : " ") + FIndex.Words[w].Text;
  return text;
}

TTextFound TTextSearch::Find(std::string_view query) const {
  TRun run;
  run.Terms = QueryTerms(query);
  TTextFound found;
  if (run.Terms.size() > kQueryMostWords) found.Cut = true;
  if (run.Terms.empty() || found.Cut) return found;
  const bool wholeFirst = run.Terms.size() > 1;
  for (size_t i = 0; i < FForms.size() && !run.Cut(); ++i) {
    if (!Matches(i, run.Terms.front(), wholeFirst) && !(FHyphenated[i] && !FBelow[i].empty())) continue;
    const size_t end = MatchFrom(run, i, 0, -1, 1e18);
    if (end == kNone) continue;
    const TIndexedWord &first = FIndex.Words[i], &last = FIndex.Words[end];
    const double time = std::max(first.From, last.From);
    found.Hits.push_back({i, first.Segment, time, first.Box.Union(last.Box), LineOf(run, i, time)});
  }
  std::stable_sort(found.Hits.begin(), found.Hits.end(), [](const TTextHit& a, const TTextHit& b) {
    return std::tie(a.Segment, a.Time) < std::tie(b.Segment, b.Time);
  });
  found.Steps = std::min(run.Steps, kSearchMostSteps);
  found.Cut = run.Cut();
  return found;
}

std::string HitTimeText(double seconds) {
  const int64_t tenths = std::llround(seconds * 10);
  char text[32];
  std::snprintf(text, sizeof(text), "%lld:%02lld.%lld", static_cast<long long>(tenths / 600),
                static_cast<long long>(tenths / 10 % 60), static_cast<long long>(tenths % 10));
  return text;
}
