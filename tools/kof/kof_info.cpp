// kof info FILM [--json] [--codepage N]
#include <cinttypes>
#include <cstdio>
#include <optional>
#include <string>

#include "film/json_writer.h"
#include "film/temp_files.h"
#include "kof_common/film_report.h"
#include "kof_common/kof_commands.h"
#include "kof_common/kof_session.h"
#include "kof/terminal_text.h"
#include "kof_common/text_encoding.h"
#include "kof_common/utf8_path.h"

namespace {
struct InfoOptions {
  std::string film;
  bool json = false;
  int codePage = 1251;
};

std::optional<InfoOptions> ParseInfoOptions(const Arguments& args) {
  InfoOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--json") {
      options.json = true;
    } else if (args[i] == "--codepage" && i + 1 < args.size()) {
      try {
        options.codePage = std::stoi(args[++i]);
      } catch (const std::exception&) {
        return std::nullopt;
      }
    } else if (options.film.empty() && args[i].rfind("--", 0) != 0) {
      options.film = args[i];
    } else {
      return std::nullopt;
    }
  }
  if (options.film.empty()) return std::nullopt;
  return options;
}

const char* SoundName(const EntryReport& entry) {
  const TSegmentInfo* loaded = entry.loaded;
  return loaded && !loaded->SoundFilePath.empty() && GetSoundType(loaded->SoundFilePath) == kSoundMp3 ? "mp3" : "-";
}

bool IsPlayable(const EntryReport& entry) { return entry.loaded && entry.loaded->Playable(); }

void PrintTextEntry(const EntryReport& e, int codePage) {
  if (e.segment > 0)
    std::printf("segment %d (index entry %d): kind %u", e.segment, e.entry, e.kind);
  else
    std::printf("index entry %d, no segment: kind %u", e.entry, e.kind);
  if (e.header) {
    const TSegmentHeader& h = *e.header;
    std::printf(" v%u %dx%d %u bpp %u fps (%g) flags 0x%04X frames %d cursors %d %s %s", h.Version, h.Width,
                h.Height, h.BitsPerPixel, RoundFramesPerSecond(h.FramesPerSecond), h.FramesPerSecond, h.Flags,
                h.FrameCount, h.CursorCount, PackingName(h.Flags), SoundName(e));
  }
  if (e.loaded) std::printf(" \"%s\"", WithControlsEscaped(CodePageToUtf8(e.loaded->Name, codePage), false).c_str());
  std::printf(" %s\n", IsPlayable(e) ? "playable" : "not playable");
  const std::string problem = EntryProblem(e);
  if (!problem.empty()) std::printf("   warning: %s\n", problem.c_str());
}

void PrintText(const FilmReport& report, const TSegmentList& segments, int codePage) {
  if (report.viaTrailer)
    std::printf("film: behind a trailer, at byte %" PRId64 "; language block: %zu bytes\n", report.filmOffset,
                report.language.size());
  else
    std::printf("film: from byte 0; language block: none\n");
  for (const std::string& warning : report.warnings) std::printf("warning: %s\n", warning.c_str());
  std::printf("segments: %d, from %" PRId64 " index entries\n", segments.Count(), report.entryCount);
  ForEachEntry(report, segments, [&](const EntryReport& e) { PrintTextEntry(e, codePage); });
}

void WriteJsonEntry(TJsonWriter& json, const EntryReport& e, int codePage) {
  json.BeginObject();
  json.Key("index");
  if (e.segment > 0)
    json.Number(e.segment);
  else
    json.Null();
  json.Key("entry").Number(e.entry);
  json.Key("kind").Number(e.kind);
  if (e.header) {
    const TSegmentHeader& h = *e.header;
    json.Key("version").Number(h.Version);
    json.Key("width").Number(h.Width);
    json.Key("height").Number(h.Height);
    json.Key("bits_per_pixel").Number(h.BitsPerPixel);
    json.Key("fps").Number(RoundFramesPerSecond(h.FramesPerSecond));
    json.Key("fps_stored").Real(h.FramesPerSecond);
    json.Key("flags").Number(h.Flags);
    json.Key("frame_count").Number(h.FrameCount);
    json.Key("cursor_count").Number(h.CursorCount);
    json.Key("packing").String(PackingName(h.Flags));
  }
  json.Key("sound").String(SoundName(e));
  json.Key("name").String(e.loaded ? CodePageToUtf8(e.loaded->Name, codePage) : "");
  json.Key("playable").Bool(IsPlayable(e));
  json.Key("warning").String(EntryProblem(e));
  json.EndObject();
}

// Written as it goes: a damaged index may hold millions of entries.
void PrintJson(const FilmReport& report, const TSegmentList& segments, int codePage) {
  TJsonWriter json;
  json.BeginObject();
  json.Key("found").String(report.viaTrailer ? "trailer" : "start");
  json.Key("film_offset").Number(report.filmOffset);
  json.Key("language_length").Number(static_cast<int64_t>(report.language.size()));
  json.Key("warnings").BeginArray();
  for (const std::string& warning : report.warnings) json.String(warning);
  json.EndArray();
  json.Key("segments").BeginArray();
  ForEachEntry(report, segments, [&](const EntryReport& e) {
    WriteJsonEntry(json, e, codePage);
    std::fputs(WithControlsEscaped(json.TakeText(), true).c_str(), stdout);
  });
  json.EndArray();
  json.EndObject();
  std::printf("%s\n", WithControlsEscaped(json.TakeText(), true).c_str());
}
}  // namespace

int RunInfo(const Arguments& args) {
  const auto options = ParseInfoOptions(args);
  if (!options) {
    std::fputs("usage: kof info FILM [--json] [--codepage N]\n", stderr);
    return kExitUsage;
  }
  CodePageToUtf8("", options->codePage);  // rejects an unknown code page up front
  KofSession session;
  const auto report = InspectFilm(PathOfUtf8(options->film), session.segments, session.tempFolder);
  if (!report) {
    std::fprintf(stderr, "kof: %s: not a film (no segment index at the start or behind a trailer)\n",
                 options->film.c_str());
    return kExitBadFilm;
  }
  if (options->json)
    PrintJson(*report, session.segments, options->codePage);
  else
    PrintText(*report, session.segments, options->codePage);
  return kExitOk;
}
