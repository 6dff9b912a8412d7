// kof search FILM [--] TEXT [--json]: every place TEXT was on screen, from the film's text
// index (FILM.words.json, made by kof index): a line per hit with its segment, time and
// the line of text around it; --json gives objects with segment, time (seconds), box
// (left, top, width, height) and text. The index must be the film's own (made of this
// version of it); control characters in its words are printed escaped, never raw.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>

#include "film/ko_error.h"
#include "kof_common/kof_commands.h"
#include "kof/terminal_text.h"
#include "kof_common/utf8_path.h"
#include "text/text_index.h"
#include "text/text_search.h"

namespace fs = std::filesystem;

namespace {
constexpr const char* kSearchUsage = "usage: kof search FILM [--] TEXT [--json]\n";

struct SearchOptions {
  fs::path film;
  std::string text;
  bool json = false;
};

std::optional<SearchOptions> ParseSearchArguments(const Arguments& args) {
  SearchOptions options;
  std::vector<std::string> plain;
  bool optionsEnded = false;  // after "--", a text that starts with "--" (--flag) is searched for
  for (const std::string& a : args) {
    if (optionsEnded)
      plain.push_back(a);
    else if (a == "--")
      optionsEnded = true;
    else if (a == "--json")
      options.json = true;
    else if (a.starts_with("--"))
      return std::nullopt;
    else
      plain.push_back(a);
  }
  if (plain.size() != 2) return std::nullopt;
  options.film = PathOfUtf8(plain[0]);
  options.text = plain[1];
  return options;
}

TTextIndex ReadIndexOf(const fs::path& film) {
  const fs::path path = TextIndexBeside(film);
  std::optional<TTextIndex> index;
  try {
    index = ReadTextIndexFile(path);
  } catch (const EkoError& e) {
    throw EkoError(Utf8Of(path) + ": " + e.what());
  }
  if (!index)
    throw EkoError("no text index beside the film (" + Utf8Of(path) + "): make it with kof index " + Utf8Of(film));
  if (!std::ifstream(film, std::ios::binary)) throw EkoError("cannot open the film " + Utf8Of(film));
  if (!IndexBelongsTo(*index, film))
    throw EkoError(Utf8Of(path) + ": the text index belongs to another version of the film: make it again with kof index " +
                   Utf8Of(film));
  return std::move(*index);
}

void PrintJson(const std::vector<TTextHit>& hits) {
  std::fputs("[", stdout);
  for (size_t i = 0; i < hits.size(); ++i) {
    const TTextHit& hit = hits[i];
    const nlohmann::ordered_json object{{"segment", hit.Segment},
                                        {"time", std::round(hit.Time * 1000) / 1000},
                                        {"box", {hit.Box.Left, hit.Box.Top, hit.Box.Width(), hit.Box.Height()}},
                                        {"text", hit.Line}};
    std::printf("%s\n%s", i == 0 ? "" : ",",
                WithControlsEscaped(object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace), true).c_str());
  }
  std::fputs(hits.empty() ? "]\n" : "\n]\n", stdout);
}
}  // namespace

int RunSearch(const Arguments& args) {
  const auto options = ParseSearchArguments(args);
  if (!options) {
    std::fputs(kSearchUsage, stderr);
    return kExitUsage;
  }
  const TTextIndex index = ReadIndexOf(options->film);
  const TTextSearch search(index);
  const TTextFound found = search.Find(options->text);
  if (options->json) {
    PrintJson(found.Hits);
  } else {
    for (const TTextHit& hit : found.Hits)
      std::printf("segment %d  %s  %s\n", hit.Segment, HitTimeText(hit.Time).c_str(), WithControlsEscaped(hit.Line, false).c_str());
  }
  if (found.Cut && found.Steps < kSearchMostSteps)
    throw EkoError("the query has more than " + std::to_string(kQueryMostWords) + " words, more than a search takes");
  if (found.Cut)
    throw EkoError("the search stopped after " + std::to_string(found.Steps) +
                   " steps, as it was too long: the hits found by then are listed; give more of the words");
  return kExitOk;
}
