#pragma once
// Searching a text index: every place a text was on screen. The rules:
// - letters compare without case (utf8_text.h: ß as ss, İ as i, ﬁ as fi), ё as е, and
//   without telling Cyrillic letters from their Latin look-alikes;
// - a word is its letters and digits: punctuation and symbols around it (→Next, ✔Done,
//   «…», --flag) are not part of it;
// - a query word matches a whole word or the start of one, or of one of its parts:
//   punctuation inside a word parts it (Users and file.txt find C:\Users\file.txt),
//   and may be left out (email finds e-mail), except between two digits: 1230 does not
//   find 12:30, and a lone point or comma there is the number's own (3.14 is found by
//   neither 314 nor 14);
// - a query of several words matches consecutive words of one line, on screen at the
//   same time, the earlier ones whole (to the word's end); a phrase runs on from a
//   line's end to the start of the line below in the same block of text, and a word
//   broken there by a hyphen (config- / uration) is one word.
// Built once per index, a search then takes a pass over its words and a bounded amount of
// work beyond: a word follows at most kMostLeadersAtOnce words on screen at once, a
// phrase's partial matches are remembered, and a search stops after kSearchMostSteps
// steps, keeping the hits found by then, however the index was made.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/text_index.h"

struct TTextHit {
  size_t Word = 0;      // the index's first matching word
  int32_t Segment = 1;  // from 1
  double Time = 0;      // seconds from the segment's start, when the words came
  TTextBox Box;         // around the matching words
  std::string Line;     // the line of text they were on, words joined by spaces
};

constexpr size_t kMostLeadersAtOnce = 8;
constexpr size_t kSearchMostSteps = size_t(1) << 20;
constexpr size_t kQueryMostWords = 64;

// What a search found: the hits by segment and time, and the steps it took (a word tried
// against the query, a neighbour weighed for a hit's line). Cut when it stopped at
// kSearchMostSteps, or found nothing for a query of more than kQueryMostWords words.
struct TTextFound {
  std::vector<TTextHit> Hits;
  size_t Steps = 0;
  bool Cut = false;
};

class TTextSearch {
public:
  // index must outlive the search.
  explicit TTextSearch(const TTextIndex& index);

  // The hits; nothing for a query without a letter or digit.
  TTextFound Find(std::string_view query) const;

private:
  struct TRun;
  struct TBandWord;
  // The words that match terms[term...] from word on, one after another on a line,
  // all on screen at once within [from, to); the last of them, or npos.
  size_t MatchFrom(TRun& run, size_t word, size_t term, double from, double to) const;
  // The same for the words after word: on its line, or starting the line below.
  size_t MatchAfter(TRun& run, size_t word, size_t term, double from, double to) const;
  size_t Nearest(TRun& run, const std::vector<size_t>& candidates, size_t word, double at) const;
  // The line of text word was on at `at`.
  std::string LineOf(TRun& run, size_t word, double at) const;
  void LinkLines();
  void LinkFollowers(size_t word, const std::vector<TBandWord>& band, size_t& passed);
  int32_t LineLeft(size_t word) const;
  void LinkBelow(size_t word, int32_t lineLeft, const std::vector<TBandWord>& band, size_t& passed);
  bool Crowded(size_t next, size_t word) const;

  const TTextIndex& FIndex;
  // Each word's joined form (JoinedForm) and where its parts start past its first, the
  // starts of word i in FPartStarts[FPartsFrom[i], FPartsFrom[i + 1]): made once, and
  // small, as an index can hold a million words.
  std::vector<std::string> FForms;
  std::vector<uint8_t> FPartStarts;
  std::vector<uint32_t> FPartsFrom;
  // Whether term is word from one of its parts on (whole), or begins it there.
  bool Matches(size_t word, std::string_view term, bool whole) const;
  // Whether term runs from one of word's parts to its end and on from the start of
  // below: a word broken by a hyphen at its line's end.
  bool MatchesAcross(size_t word, size_t below, std::string_view term, bool whole) const;
  // Whether matchesFrom(start) holds from the word's start or one of its parts'.
  template <class TMatchesFrom>
  bool FromAnyPart(size_t word, const TMatchesFrom& matchesFrom) const;
  std::vector<bool> FHyphenated;  // the word's text ends in a hyphen
  // The words that can follow each word on its line, and those it can follow: a word
  // stays while the words beside it change.
  std::vector<std::vector<size_t>> FNext, FPrevious;
  // For a word that ends its line, the words that can start the line below.
  std::vector<std::vector<size_t>> FBelow;
};

// How search compares words: folded, trimmed of what is not a letter or digit at either
// end, and with the Cyrillic letters that look like Latin ones (о, н, р, с...) taken as
// those, since the reader of a screen in both scripts mistakes one for the other
// ("Окно" read as "OKHO").
std::string SearchForm(std::string_view word);

// A hit's time as kof search and the player's list show it: "1:02.5", minutes and
// seconds to a tenth.
std::string HitTimeText(double seconds);
