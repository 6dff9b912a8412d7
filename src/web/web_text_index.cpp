#include "web/web_text_index.h"

#include <nlohmann/json.hpp>

#include "film/film_identity.h"
#include "film/json_writer.h"
#include "film/ko_error.h"
#include "text/text_search.h"
#include "text/word_repair.h"
#include "web/web_film_file.h"

namespace {
int32_t Whole(double value, double lowest, double highest) {
  return value >= lowest ? int32_t(std::min(value, highest)) : int32_t(lowest);  // NaN: the lowest
}

bool SamePass(TReadPass a, TReadPass b) { return a.Factor == b.Factor && a.Layout == b.Layout; }

// The mending wants a part of the area read alone that the page has not read yet.
struct TReadingWanted {
  TPreparedArea Part;
  TReadPass Pass;
};
}  // namespace

// Answers the mending with the parts the page read alone. The mending does the same
// for the same answers, so it runs again from the start with each new one, until it
// wants none. The page's reader has no dictionary to ask: no word is judged, and the
// mending reads unsure words again and joins fragments, but cuts no word.
class TWebTextIndex::TReadingsMade : public TWordReader {
public:
  TReadingsMade(const TPreparedArea& area, const std::vector<TReadAlone>& made) : FArea(area), FMade(made) {}

  std::vector<TReadWord> ReadAlone(const TTextBox& box, TReadPass pass) override {
    std::optional<TPreparedArea> part = PartAlone(FArea, box);
    if (!part) return {};
    for (const TReadAlone& made : FMade)
      if (made.Box == part->Box && SamePass(made.Pass, pass)) return made.Words;
    if (FMade.size() >= kMostReadingsAlone) return {};
    throw TReadingWanted{*std::move(part), pass};
  }
  TWordKind KindOf(const std::string&) override { return TWordKind::Unjudged; }
  bool HasDictionary() const override { return false; }

private:
  const TPreparedArea& FArea;
  const std::vector<TReadAlone>& FMade;
};

TWebTextIndex::TWebTextIndex(const std::filesystem::path& film, const std::filesystem::path& folder,
                             std::string languages)
    : FFilm(film), FLanguages(std::move(languages)), FWalk(FSegments, [this](int32_t segment, const std::string& why) {
        FProblems.push_back("segment " + std::to_string(segment) + ": " + why);
      }) {
  LoadFilmFile(FSegments, film, folder);
}

const uint8_t* TWebTextIndex::Pixels() const {
  if (FPart) return FPart->Grey.data();
  return FPrepared ? FPrepared->Grey.data() : nullptr;
}

std::string TWebTextIndex::PassJson(const TPreparedArea& pixels, TReadPass pass) const {
  TJsonWriter json;
  json.BeginObject().Key("width").Number(pixels.Box.Width()).Key("height").Number(pixels.Box.Height());
  json.Key("factor").Number(pass.Factor).Key("layout").Number(int32_t(pass.Layout));
  json.Key("border").Number(kReadBorder);
  const double total = FWalk.TotalSeconds();
  json.Key("progress").Real(total > 0 ? std::min(1.0, FWalk.SecondsWalked() / total) : 0.0);
  return json.EndObject().Text();
}

std::string TWebTextIndex::NextArea() {
  FPrepared.reset();
  FPart.reset();
  FAlone.clear();
  for (;;) {
    while (!FQueue.empty()) {
      FArea = FQueue.back();
      FQueue.pop_back();
      FPrepared = PrepareArea(FWalk.Picture(), FArea);
      if (!FPrepared) {
        FWalk.Read(FArea, {});
        continue;
      }
      if (std::optional<std::vector<TReadWord>> known = FReadings.Find(*FPrepared, FirstPass(FArea))) {
        FWalk.Read(FArea, *known);
        continue;
      }
      FStep = TStep::kWhole;
      FReading = FirstPass(FArea);
      return PassJson(*FPrepared, FReading);
    }
    if (!FWalk.Step()) break;
    const std::vector<TTextBox>& due = FWalk.Due();
    FQueue.assign(due.rbegin(), due.rend());  // handed out in the walk's order
  }
  FIndexed = FWalk.TakeWords();
  return R"({"done":true,"progress":1})";
}

std::string TWebTextIndex::PassRead(std::string_view words) {
  if (!FPrepared) throw EkoError("no area is being read");
  const nlohmann::json read = nlohmann::json::parse(words, nullptr, false);
  if (!read.is_array()) throw EkoError("the words read are not a list");
  std::vector<TReadWord> found;
  for (const nlohmann::json& word : read) {
    const nlohmann::json* box = word.is_object() && word.contains("box") ? &word["box"] : nullptr;
    if (!box || !box->is_array() || box->size() != 4 || !word.value("text", nlohmann::json()).is_string() ||
        !word.value("confidence", nlohmann::json()).is_number())
      throw EkoError("a word read has no text, confidence or box");
    const std::string text = word["text"].get<std::string>();
    if (SearchForm(text).empty()) continue;
    const auto at = [&](size_t i) { return (*box)[i].is_number() ? Whole((*box)[i].get<double>(), -1e6, 1e6) : 0; };
    found.push_back({text, Whole(word["confidence"].get<double>(), 0, 100),
                     BoxInPicture(FPart ? FPart->Box : FPrepared->Box, FReading.Factor, at(0), at(1), at(2), at(3))});
  }
  switch (FStep) {
    case TStep::kWhole:
      FWords = std::move(found);
      if (WantsSecondPass(FWords)) {
        FStep = TStep::kWholeAgain;
        FReading = SecondPass();
        return PassJson(*FPrepared, FReading);
      }
      break;
    case TStep::kWholeAgain: TakeSecondPass(FWords, std::move(found)); break;
    case TStep::kAlone: FAlone.push_back({FPart->Box, FReading, std::move(found)}); break;
  }
  return Mend();
}

std::string TWebTextIndex::Mend() {
  std::vector<TReadWord> words;
  try {
    TReadingsMade made(*FPrepared, FAlone);
    words = RepairWords(FWords, *FPrepared, made);
  } catch (TReadingWanted& wanted) {
    FStep = TStep::kAlone;
    FPart = std::move(wanted.Part);
    FReading = wanted.Pass;
    return PassJson(*FPart, FReading);
  }
  DropUnsure(words);
  FReadings.Keep(*FPrepared, FirstPass(FArea), words);
  FWalk.Read(FArea, words);
  FPrepared.reset();
  FPart.reset();
  FAlone.clear();
  return "{}";
}

std::string TWebTextIndex::Document() const {
  TTextIndex index;
  index.Film = FFilm.filename().string();
  std::error_code error;
  index.FilmBytes = int64_t(std::filesystem::file_size(FFilm, error));
  if (error) index.FilmBytes = 0;
  index.FilmIdentity = FilmIdentity(FFilm);
  index.Languages = FLanguages;
  index.Segments = FWalk.Segments();
  index.Words = FIndexed;
  return TextIndexDocument(index);
}
