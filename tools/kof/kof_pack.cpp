// kof pack FILM --player roRezodu.exe [--language FILE|ru|en] -o OUT.exe: a film executable,
// the player with a language block and the film behind it, as the player looks for them
// in its own file.
#include <climits>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>

#include "kof/atomic_file.h"
#include "film/ko_stream.h"
#include "kof_common/film_report.h"
#include "kof_common/kof_commands.h"
#include "writer/film_writer.h"
#include "kof_common/utf8_path.h"

namespace fs = std::filesystem;
using filmwriter::Bytes;

namespace {
struct PackOptions {
  fs::path film, player, out;
  std::optional<fs::path> language;
};

std::optional<PackOptions> ParsePackOptions(const Arguments& args) {
  PackOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--player" && hasValue && options.player.empty()) {
      options.player = PathOfUtf8(args[++i]);
    } else if (arg == "--language" && hasValue && !options.language) {
      options.language = PathOfUtf8(args[++i]);
    } else if (arg == "-o" && hasValue && options.out.empty()) {
      options.out = PathOfUtf8(args[++i]);
    } else if (options.film.empty() && !arg.empty() && arg[0] != '-') {
      options.film = PathOfUtf8(arg);
    } else {
      return std::nullopt;
    }
  }
  if (options.film.empty() || options.player.empty() || options.out.empty()) return std::nullopt;
  return options;
}

// Throws std::runtime_error naming the file when it is not there or not a plain file.
void RequireFile(const fs::path& path) {
  std::error_code error;
  if (!fs::is_regular_file(path, error)) throw std::runtime_error(Utf8Of(path) + ": no such file");
}

// The film's own bytes, wherever it lies in the file. Throws when the file is missing
// or holds no film.
Bytes ReadFilmBytes(const fs::path& path) {
  RequireFile(path);
  std::optional<FilmPlace> place;
  {
    TkoFileStream stream(path, kModeReadShared);
    place = LocateFilm(stream);
  }
  if (!place)
    throw std::runtime_error(Utf8Of(path) + ": not a film (no segment index at the start or behind a trailer)");
  const Bytes file = filmwriter::ReadBytesFromFile(path);
  return Bytes(file.begin() + place->offset, file.begin() + place->offset + place->length);
}

// The bare player. Throws when it is missing or already carries a film: a second film
// behind it would never be found.
Bytes ReadPlayerBytes(const fs::path& path) {
  RequireFile(path);
  {
    TkoFileStream stream(path, kModeReadShared);
    const std::optional<FilmPlace> place = LocateFilm(stream);
    if (place && place->viaTrailer)
      throw std::runtime_error(Utf8Of(path) + ": already carries a film behind its trailer; give the bare player");
  }
  return filmwriter::ReadBytesFromFile(path);
}

// A file's bytes, or the built-in table for the name ru or en.
std::string ReadLanguageText(const std::optional<fs::path>& path) {
  if (!path) return {};
  if (std::optional<std::string> builtIn = BuiltInLanguageBytes(Utf8Of(*path))) return *builtIn;
  RequireFile(*path);
  const Bytes text = filmwriter::ReadBytesFromFile(*path);
  return std::string(text.begin(), text.end());
}

}  // namespace

int RunPack(const Arguments& args) {
  const std::optional<PackOptions> options = ParsePackOptions(args);
  if (!options) {
    std::fputs("usage: kof pack FILM --player roRezodu.exe [--language FILE|ru|en] -o OUT.exe\n", stderr);
    return kExitUsage;
  }
  const Bytes film = ReadFilmBytes(options->film);
  const Bytes player = ReadPlayerBytes(options->player);
  const std::string language = ReadLanguageText(options->language);
  // The player reads its own file with 32-bit positions.
  if (player.size() + language.size() + film.size() + 8 > size_t(INT32_MAX))
    throw std::runtime_error("the film executable would exceed 2 GiB, more than the player reads");
  WriteFileAtomically(options->out, filmwriter::AppendedFilm(player, language, film));
  return kExitOk;
}
