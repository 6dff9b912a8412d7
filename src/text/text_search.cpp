#include "text/text_search.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <map>
#include <tuple>

#include "text/utf8_text.h"

namespace {
constexpr size_t kNone = size_t(-1);

// Letters and digits of any script; the punctuation of ASCII and Latin-1 and the
// general punctuation block are not.
bool IsWordCharacter(char32_t code) {
  if (code < 0x80) return (code >= '0' && code <= '9') || (code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z');
  if (code < 0xC0) return code == 0xAA || code == 0xB5 || code == 0xBA;
  return code != 0xD7 && code != 0xF7 && !(code >= 0x2000 && code <= 0x206F);
}

std::vector<std::string> QueryTerms(std::string_view query) {
  std::vector<std::string> terms;
  for (size_t start = 0; start < query.size();) {
    const size_t space = std::min(query.find_first_of(" \t\n\r", start), query.size());
    if (std::string term = SearchForm(query.substr(start, space - start)); !term.empty()) terms.push_back(term);
    start = space + 1;
  }
  return terms;
}

// The Latin letter a Cyrillic one looks like (in either case, once folded: о and o, н
// and the H of НО), which the reader may take for it; every other letter as it is.
char32_t LatinTwin(char32_t code) {
  switch (code) {
    case U'а':
      return U'a';
    case U'в':
      return U'b';
    case U'е':
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

bool SameTime(const TIndexedWord& a, const TIndexedWord& b) { return a.From < b.To && b.From < a.To; }
bool SameTime(const TIndexedWord& a, double at) { return a.From <= at && at < std::max(a.To, a.From + 1e-3); }

// Whether b could follow a on its line: level with it, to its right, not far off.
bool Follows(const TIndexedWord& a, const TIndexedWord& b) {
  const int32_t height = std::max(a.Box.Height(), b.Box.Height());
  const int32_t overlap = std::min(a.Box.Bottom, b.Box.Bottom) - std::max(a.Box.Top, b.Box.Top);
  const int32_t gap = b.Box.Left - a.Box.Right;
  return a.Segment == b.Segment && overlap * 2 >= height && gap >= -2 && gap <= 2 * height && SameTime(a, b);
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

TTextSearch::TTextSearch(const TTextIndex& index)
    : FIndex(index), FNext(index.Words.size()), FPrevious(index.Words.size()) {
  FFolded.reserve(index.Words.size());
  for (const TIndexedWord& word : index.Words) FFolded.push_back(SearchForm(word.Text));
  LinkLines();
}

// Words are grouped in bands by segment and height on screen, so that each looks for
// its neighbours among a few.
void TTextSearch::LinkLines() {
  std::map<std::tuple<int32_t, int32_t>, std::vector<size_t>> bands;
  constexpr int32_t kBand = 8;
  const auto& words = FIndex.Words;
  const auto bandOf = [&](size_t i) { return (words[i].Box.Top + words[i].Box.Bottom) / 2 / kBand; };
  for (size_t i = 0; i < words.size(); ++i) bands[{words[i].Segment, bandOf(i)}].push_back(i);
  for (size_t i = 0; i < words.size(); ++i)
    for (int32_t b = bandOf(i) - 1; b <= bandOf(i) + 1; ++b) {
      const auto found = bands.find({words[i].Segment, b});
      if (found == bands.end()) continue;
      for (const size_t j : found->second)
        if (j != i && Follows(words[i], words[j])) {
          FNext[i].push_back(j);
          FPrevious[j].push_back(i);
        }
    }
}

size_t TTextSearch::MatchFrom(size_t word, const std::vector<std::string>& terms, size_t term, double from,
                              double to) const {
  const TIndexedWord& w = FIndex.Words[word];
  from = std::max(from, w.From);
  to = std::min(to, std::max(w.To, w.From + 1e-3));
  if (from >= to) return kNone;
  const bool last = term + 1 == terms.size();
  if (last ? !FFolded[word].starts_with(terms[term]) : FFolded[word] != terms[term]) return kNone;
  if (last) return word;
  for (const size_t next : FNext[word])
    if (const size_t end = MatchFrom(next, terms, term + 1, from, to); end != kNone) return end;
  return kNone;
}

// Of the candidates on screen at `at`, the one nearest to word; npos when none is.
size_t TTextSearch::Nearest(const std::vector<size_t>& candidates, size_t word, double at) const {
  const auto distance = [&](size_t c) { return std::abs(FIndex.Words[c].Box.Left - FIndex.Words[word].Box.Left); };
  size_t best = kNone;
  for (const size_t c : candidates)
    if (SameTime(FIndex.Words[c], at) && (best == kNone || distance(c) < distance(best))) best = c;
  return best;
}

std::string TTextSearch::LineOf(size_t word, double at) const {
  constexpr size_t kLongest = 64;  // words each side
  std::deque<size_t> line{word};
  for (size_t w = word; line.size() < kLongest && (w = Nearest(FPrevious[w], w, at)) != kNone;) line.push_front(w);
  for (size_t w = word; line.size() < 2 * kLongest && (w = Nearest(FNext[w], w, at)) != kNone;) line.push_back(w);
  std::string text;
  for (const size_t w : line) text += (text.empty() ? "" : " ") + FIndex.Words[w].Text;
  return text;
}

std::vector<TTextHit> TTextSearch::Find(std::string_view query) const {
  const std::vector<std::string> terms = QueryTerms(query);
  std::vector<TTextHit> hits;
  if (terms.empty()) return hits;
  for (size_t i = 0; i < FFolded.size(); ++i) {
    if (!FFolded[i].starts_with(terms.front())) continue;
    const size_t end = MatchFrom(i, terms, 0, -1, 1e18);
    if (end == kNone) continue;
    const TIndexedWord &first = FIndex.Words[i], &last = FIndex.Words[end];
    const double time = std::max(first.From, last.From);
    hits.push_back({i, first.Segment, time, first.Box.Union(last.Box), LineOf(i, time)});
  }
  std::stable_sort(hits.begin(), hits.end(), [](const TTextHit& a, const TTextHit& b) {
    return std::tie(a.Segment, a.Time) < std::tie(b.Segment, b.Time);
  });
  return hits;
}

std::string HitTimeText(double seconds) {
  const int64_t tenths = std::llround(seconds * 10);
  char text[32];
  std::snprintf(text, sizeof(text), "%lld:%02lld.%lld", static_cast<long long>(tenths / 600),
                static_cast<long long>(tenths / 10 % 60), static_cast<long long>(tenths % 10));
  return text;
}
