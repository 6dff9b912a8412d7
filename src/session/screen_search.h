#pragma once
// Find on screen in the player, the part without windows: the film's text index read
// from beside the film, the hits of what is typed, stepping through them (F3, Shift+F3),
// each hit's line in the result list, what the search says when there is nothing to
// search, and the frame a hit is seen at.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "session/ui_texts.h"
#include "text/text_index.h"
#include "text/text_search.h"

// Why there is nothing to search.
enum class TIndexProblem : uint8_t { kNone, kMissing, kDamaged, kOtherFilm };

// What a search answers: the problem with the index, or the hits of the query and the
// one chosen of them. The player's window keeps a copy while the index is searched on
// another thread.
struct TSearchAnswer {
  std::filesystem::path Film;
  TIndexProblem Problem = TIndexProblem::kMissing;
  std::string ReaderMessage;  // the index reader's message for a damaged index
  std::string Query;
  std::vector<TTextHit> Hits;
  bool Cut = false;  // the search stopped before it was through
  std::optional<size_t> Chosen;

  void Choose(size_t hit) { Chosen = hit < Hits.size() ? std::optional(hit) : std::nullopt; }
  // What the search says under its field: the problem with the index, how many hits
  // there are, or what to type before anything is.
  std::string Status(const TUiTexts& texts) const;
};

class TScreenSearch {
public:
  // Reads the index beside film, replacing what was searched before; never throws: a
  // missing or damaged index, or one made of another version of the film, leaves the
  // search without one and says why.
  void Open(const std::filesystem::path& film) { Open(film, TextIndexBeside(film)); }
  // The same with the index read from elsewhere (one the page made for the film).
  void Open(const std::filesystem::path& film, const std::filesystem::path& index);
  bool HasIndex() const { return FSearch != nullptr; }
  TIndexProblem Problem() const { return FAnswer.Problem; }

  // The hits of query, which replace those before; none is chosen then.
  void Find(std::string_view query);
  const std::vector<TTextHit>& Hits() const { return FAnswer.Hits; }
  std::optional<size_t> Chosen() const { return FAnswer.Chosen; }
  void Choose(size_t hit) { FAnswer.Choose(hit); }
  const TSearchAnswer& Answer() const { return FAnswer; }
  std::string Status(const TUiTexts& texts) const { return FAnswer.Status(texts); }

private:
  TSearchAnswer FAnswer;
  std::unique_ptr<TTextIndex> FIndex;
  std::unique_ptr<TTextSearch> FSearch;  // searches *FIndex
};

// A place of the film as the player shows it: segment from 0, seconds from its start.
struct TShownPlace {
  int32_t Segment = 0;
  double Seconds = 0;
};

// F3 (forward) and Shift+F3: the hit after (before) the chosen one, round from the last
// to the first and back; with none chosen, the first hit at or after the place shown
// (the last one before it), round likewise. Nothing without hits.
std::optional<size_t> StepHit(const std::vector<TTextHit>& hits, std::optional<size_t> chosen, bool forward,
                              TShownPlace shown);

// A hit's line in the result list: its time, segment and the line of text it was on.
std::string HitListLine(const TTextHit& hit, const TUiTexts& texts);

// The field's label, "Найти на экране:" (Find on screen's name and a colon), with an
// access key that takes the keyboard to the field: a letter that none of the menu bar's
// titles (their texts as the bar shows them) takes, so that Alt and a title's key still
// open its menu while the field shows.
std::string SearchFieldLabel(const TUiTexts& texts, const std::vector<std::string>& barTitles);

// The frame of a segment at framesPerSecond (0: none, taken as 1) that shows a hit
// whose words came at seconds: the one of that time, as kof index counts frames,
// within the segment's frameCount frames.
int32_t HitFrame(double seconds, int32_t framesPerSecond, int32_t frameCount);
