// kof index FILM... [-o INDEX] [--languages eng+rus] [-j N]: the text index of each
// film, beside it as FILM.words.json unless -o names it (one film only). Several films
// run as kof export's batches do (export_batch.h): N at a time, a film that fails is
// reported while the others go on, and no partial index is left.
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "kof_export/export_batch.h"
#include "film/ko_error.h"
#include "kof_reading/film_indexer.h"
#include "kof_export/text_index_file.h"
#include "kof_export/interruption.h"
#include "kof_common/kof_commands.h"
#include "text/text_index.h"
#include "kof_common/utf8_path.h"

namespace fs = std::filesystem;

namespace {
constexpr const char* kIndexUsage = "usage: kof index FILM... [-o INDEX] [--languages eng+rus] [-j N]\n";

struct IndexOptions {
  std::vector<fs::path> films;
  fs::path out;
  std::string languages = "eng+rus";
  int32_t jobs = 0;
};

// Languages as Tesseract names them: letters, digits and underscores joined by "+".
bool LanguagesAreNames(const std::string& text) {
  if (text.empty() || text.front() == '+' || text.back() == '+' || text.find("++") != std::string::npos) return false;
  return text.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_+") ==
         std::string::npos;
}

std::optional<IndexOptions> ParseIndexArguments(const Arguments& args) {
  IndexOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool valued = a == "-o" || a == "--languages" || a == "-j";
    if (valued && ++i == args.size()) return std::nullopt;
    if (a == "-o") {
      options.out = PathOfUtf8(args[i]);
    } else if (a == "--languages") {
      options.languages = args[i];
      if (!LanguagesAreNames(options.languages)) return std::nullopt;
    } else if (a == "-j") {
      char* end = nullptr;
      const long jobs = std::strtol(args[i].c_str(), &end, 10);
      if (*end != '\0' || jobs < 1 || jobs > 1024) return std::nullopt;
      options.jobs = int32_t(jobs);
    } else if (a.starts_with("-") && a != "-") {
      return std::nullopt;
    } else {
      options.films.push_back(PathOfUtf8(a));
    }
  }
  if (options.films.empty() || (!options.out.empty() && options.films.size() > 1)) return std::nullopt;
  return options;
}


// In a batch, the batch names the film before each of the worker's messages.
int IndexOne(const fs::path& film, const fs::path& out, const std::string& languages, const fs::path& folder,
             bool inBatch) {
  try {
    WriteTextIndex(IndexFilm({film, languages, folder}), out);
    return kExitOk;
  } catch (const ExportInterrupted& interrupted) {
    EndBySignal(interrupted.signal);
    return ExitCodeOfSignal(interrupted.signal);
  } catch (const std::exception& e) {
    if (inBatch)
      std::fprintf(stderr, "kof: %s\n", e.what());
    else
      std::fprintf(stderr, "kof: %s: %s\n", Utf8Of(film).c_str(), e.what());
    return kExitBadFilm;
  }
}
}  // namespace

int RunIndex(const Arguments& args) {
  const auto options = ParseIndexArguments(args);
  if (!options) {
    std::fputs(kIndexUsage, stderr);
    return kExitUsage;
  }
  CatchInterruptions();
  // Each reader keeps to one processor: the batch runs one per processor.
  if (options->films.size() > 1 && options->jobs != 1) setenv("OMP_THREAD_LIMIT", "1", 1);
  if (options->films.size() == 1)
    return IndexOne(options->films.front(), options->out.empty() ? TextIndexBeside(options->films.front()) : options->out,
                    options->languages, {}, false);
  FilmBatchWork work;
  work.films = options->films;
  work.jobs = options->jobs;
  work.outputOf = TextIndexBeside;
  work.made = "indexed";
  work.work = "indexing";
  work.makeOne = [&](const fs::path& film, const fs::path& out, const fs::path& folder, int32_t) {
    return IndexOne(film, out, options->languages, folder, true);
  };
  return RunFilmBatch(work);
}
