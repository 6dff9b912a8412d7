#include "session/screen_search.h"

#include <algorithm>
#include <cmath>

#include "session/accessible_texts.h"
#include "film/ko_error.h"
#include "film/ko_stream.h"

void TScreenSearch::Open(const std::filesystem::path& film, const std::filesystem::path& index) {
  FFilm = film;
  FSearch.reset();
  FIndex.reset();
  FHits.clear();
  FCut = false;
  FChosen.reset();
  FReaderMessage.clear();
  try {
    std::optional<TTextIndex> read = ReadTextIndexFile(index);
    if (!read) {
      FProblem = TIndexProblem::kMissing;
      return;
    }
    if (!IndexBelongsTo(*read, film)) {
      FProblem = TIndexProblem::kOtherFilm;
      return;
    }
    FIndex = std::make_unique<TTextIndex>(std::move(*read));
  } catch (const EkoError& e) {
    FProblem = TIndexProblem::kDamaged;
    FReaderMessage = e.what();
    return;
  }
  FSearch = std::make_unique<TTextSearch>(*FIndex);
  FProblem = TIndexProblem::kNone;
  Find(FQuery);
}

void TScreenSearch::Find(std::string_view query) {
  FQuery = query;
  FChosen.reset();
  TTextFound found = FSearch ? FSearch->Find(query) : TTextFound{};
  FHits = std::move(found.Hits);
  FCut = found.Cut;
}

std::string TScreenSearch::Status(const TUiTexts& texts) const {
  switch (FProblem) {
    case TIndexProblem::kMissing:
      return FillTextSlots(texts.Message(TMessageText::kSearchNoIndexFmt),
                           {PathText(TextIndexBeside(FFilm).filename()), PathText(FFilm.filename())});
    case TIndexProblem::kDamaged: return texts.Format(TMessageText::kSearchDamagedIndexFmt, FReaderMessage);
    case TIndexProblem::kOtherFilm: return texts.Message(TMessageText::kSearchOtherFilm);
    case TIndexProblem::kNone: break;
  }
  if (FCut) return texts.Format(TMessageText::kSearchCutFmt, std::to_string(FHits.size()));
  if (FHits.empty())
    return texts.Message(FQuery.find_first_not_of(' ') == std::string::npos ? TMessageText::kSearchPrompt
                                                                            : TMessageText::kSearchNothingFound);
  return texts.Format(TMessageText::kSearchFoundFmt, std::to_string(FHits.size()));
}

namespace {
bool Before(const TTextHit& hit, TShownPlace place) {
  return hit.Segment - 1 < place.Segment || (hit.Segment - 1 == place.Segment && hit.Time < place.Seconds);
}
}  // namespace

std::optional<size_t> StepHit(const std::vector<TTextHit>& hits, std::optional<size_t> chosen, bool forward,
                              TShownPlace shown) {
  const size_t count = hits.size();
  if (count == 0) return std::nullopt;
  if (chosen && *chosen < count) return forward ? (*chosen + 1) % count : (*chosen + count - 1) % count;
  // The hits are in film order: those before the place shown come first.
  const auto firstNotBefore =
      size_t(std::partition_point(hits.begin(), hits.end(), [&](const TTextHit& h) { return Before(h, shown); }) -
             hits.begin());
  return forward ? firstNotBefore % count : (firstNotBefore + count - 1) % count;
}

std::string HitListLine(const TTextHit& hit, const TUiTexts& texts) {
  return FillTextSlots(texts.Message(TMessageText::kSearchHitFmt),
                       {HitTimeText(hit.Time), std::to_string(hit.Segment), hit.Line});
}

int32_t HitFrame(double seconds, int32_t framesPerSecond, int32_t frameCount) {
  const double frame = std::round(seconds * std::max(framesPerSecond, 1));
  return int32_t(std::clamp(frame, 0.0, double(std::max(frameCount - 1, 0))));
}
