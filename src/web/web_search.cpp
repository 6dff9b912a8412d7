#include "web/web_search.h"

#include "film/json_writer.h"

namespace {
void WriteHit(TJsonWriter& json, const TTextHit& hit) {
  json.Key("segment").Number(hit.Segment - 1).Key("time").Real(hit.Time);
  json.Key("box").BeginArray().Number(hit.Box.Left).Number(hit.Box.Top);
  json.Number(hit.Box.Width()).Number(hit.Box.Height()).EndArray();
}
}  // namespace

std::string TWebSearch::Find(std::string_view query, const TUiTexts& texts) {
  FSearch.Find(query);
  TJsonWriter json;
  json.BeginObject().Key("status").String(FSearch.Status(texts)).Key("index").Bool(FSearch.HasIndex());
  json.Key("hits").BeginArray();
  for (const TTextHit& hit : FSearch.Hits()) {
    json.BeginObject().Key("label").String(HitListLine(hit, texts));
    WriteHit(json, hit);
    json.EndObject();
  }
  return json.EndArray().EndObject().Text();
}

std::string TWebSearch::Choose(size_t hit) {
  FSearch.Choose(hit);
  return ChosenJson();
}

std::string TWebSearch::Step(bool forward, TShownPlace shown) {
  if (const std::optional<size_t> next = StepHit(FSearch.Hits(), FSearch.Chosen(), forward, shown))
    FSearch.Choose(*next);
  return ChosenJson();
}

const TTextHit* TWebSearch::Chosen() const {
  const std::optional<size_t> chosen = FSearch.Chosen();
  return chosen ? &FSearch.Hits()[*chosen] : nullptr;
}

std::string TWebSearch::ChosenJson() const {
  TJsonWriter json;
  json.BeginObject();
  if (const TTextHit* hit = Chosen()) {
    json.Key("chosen").Number(int64_t(*FSearch.Chosen()));
    WriteHit(json, *hit);
  }
  return json.EndObject().Text();
}
