#include "session/screen_search.h"

#include <algorithm>
#include <cmath>

#include "session/access_keys.h"
#include "session/accessible_texts.h"
#include "film/ko_error.h"
#include "film/ko_stream.h"

void TScreenSearch::Open(const std::filesystem::path& film, const std::filesystem::path& index) {
  FSearch.reset();
  FIndex.reset();
  std::string query = std::move(FAnswer.Query);  // searched again in the new index
  FAnswer = TSearchAnswer{};
  FAnswer.Film = film;
  FAnswer.Query = std::move(query);
  try {
    std::optional<TTextIndex> read = ReadTextIndexFile(index);
    if (!read) return;
    if (!IndexBelongsTo(*read, film)) {
      FAnswer.Problem = TIndexProblem::kOtherFilm;
      return;
    }
    FIndex = std::make_unique<TTextIndex>(std::move(*read));
  } catch (const EkoError& e) {
    FAnswer.Problem = TIndexProblem::kDamaged;
    FAnswer.ReaderMessage = e.what();
    return;
  }
  FSearch = std::make_unique<TTextSearch>(*FIndex);
  FAnswer.Problem = TIndexProblem::kNone;
  Find(std::string(FAnswer.Query));
}

void TScreenSearch::Find(std::string_view query) {
  FAnswer.Query = query;
  FAnswer.Chosen.reset();
  TTextFound found = FSearch ? FSearch->Find(query) : TTextFound{};
  FAnswer.Hits = std::move(found.Hits);
  FAnswer.Cut = found.Cut;
}

std::string TSearchAnswer::Status(const TUiTexts& texts) const {
  switch (Problem) {
    case TIndexProblem::kMissing:
      return FillTextSlots(texts.Message(TMessageText::kSearchNoIndexFmt),
                           {PathText(TextIndexBeside(Film).filename()), PathText(Film.filename())});
    case TIndexProblem::kDamaged: return texts.Format(TMessageText::kSearchDamagedIndexFmt, ReaderMessage);
    case TIndexProblem::kOtherFilm: return texts.Message(TMessageText::kSearchOtherFilm);
    case TIndexProblem::kNone: break;
  }
  if (Cut) return texts.Format(TMessageText::kSearchCutFmt, std::to_string(Hits.size()));
  if (Hits.empty())
    return texts.Message(Query.find_first_not_of(' ') == std::string::npos ? TMessageText::kSearchPrompt
                                                                           : TMessageText::kSearchNothingFound);
  return texts.Format(Hits.size() == 1 ? TMessageText::kSearchFoundOneFmt : TMessageText::kSearchFoundFmt,
                      std::to_string(Hits.size()));
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

std::string SearchFieldLabel(const TUiTexts& texts, const std::vector<std::string>& barTitles) {
  std::vector<std::string> labels = barTitles;
  labels.push_back(ControlName(texts, TMenuText::kFindOnScreen).append(":"));
  return WithAccessKeys(labels).back();
}

std::string HitListLine(const TTextHit& hit, const TUiTexts& texts) {
  return FillTextSlots(texts.Message(TMessageText::kSearchHitFmt),
                       {HitTimeText(hit.Time), std::to_string(hit.Segment), hit.Line});
}

int32_t HitFrame(double seconds, int32_t framesPerSecond, int32_t frameCount) {
  const double frame = std::round(seconds * std::max(framesPerSecond, 1));
  return int32_t(std::clamp(frame, 0.0, double(std::max(frameCount - 1, 0))));
}
