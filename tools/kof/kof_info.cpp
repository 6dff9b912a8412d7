// kof info FILM [--json] [--codepage N]
#include <cinttypes>
#include <cstdio>
#include <optional>
#include <string>

#include "film/temp_files.h"
#include "film_report.h"
#include "json_writer.h"
#include "kof_commands.h"
#include "kof_session.h"
#include "text_encoding.h"

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

const char* SoundName(const SegmentReport& segment) {
  const TSegmentInfo* loaded = segment.loaded;
  return loaded && !loaded->SoundFilePath.empty() && GetSoundType(loaded->SoundFilePath) == 0x100 ? "mp3" : "-";
}

std::string SegmentWarning(const SegmentReport& segment) {
  if (segment.kind != kIndexKindSegment) return "";
  if (!segment.header) return "header lies outside the file";
  if (segment.header->Version > 1) return "later version than the player";
  return segment.loaded ? segment.loaded->Problem : "";
}

bool IsPlayable(const SegmentReport& segment) { return segment.loaded && segment.loaded->Playable(); }

void PrintText(const FilmReport& report, int codePage) {
  if (report.viaTrailer)
    std::printf("film: behind a trailer, at byte %" PRId64 "; language block: %zu bytes\n", report.filmOffset,
                report.language.size());
  else
    std::printf("film: from byte 0; language block: none\n");
  for (const std::string& warning : report.warnings) std::printf("warning: %s\n", warning.c_str());
  std::printf("segments: %zu index entries\n", report.segments.size());
  for (const SegmentReport& s : report.segments) {
    std::printf("#%d kind %u", s.index, s.kind);
    if (s.header) {
      const TSegmentHeader& h = *s.header;
      std::printf(" v%u %dx%d %u bpp %u fps (%g) flags 0x%04X frames %d cursors %d %s %s", h.Version, h.Width,
                  h.Height, h.BitsPerPixel, RoundFramesPerSecond(h.FramesPerSecond), h.FramesPerSecond, h.Flags,
                  h.FrameCount, h.CursorCount, PackingName(h.Flags), SoundName(s));
    }
    if (s.loaded) std::printf(" \"%s\"", CodePageToUtf8(s.loaded->Name, codePage).c_str());
    std::printf(" %s\n", IsPlayable(s) ? "playable" : "not playable");
    const std::string warning = SegmentWarning(s);
    if (!warning.empty()) std::printf("   warning: %s\n", warning.c_str());
  }
}

void PrintJson(const FilmReport& report, int codePage) {
  JsonWriter json;
  json.BeginObject();
  json.Key("found").String(report.viaTrailer ? "trailer" : "start");
  json.Key("film_offset").Number(report.filmOffset);
  json.Key("language_length").Number(static_cast<int64_t>(report.language.size()));
  json.Key("warnings").BeginArray();
  for (const std::string& warning : report.warnings) json.String(warning);
  json.EndArray();
  json.Key("segments").BeginArray();
  for (const SegmentReport& s : report.segments) {
    json.BeginObject();
    json.Key("index").Number(s.index);
    json.Key("kind").Number(s.kind);
    if (s.header) {
      const TSegmentHeader& h = *s.header;
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
    json.Key("sound").String(SoundName(s));
    json.Key("name").String(s.loaded ? CodePageToUtf8(s.loaded->Name, codePage) : "");
    json.Key("playable").Bool(IsPlayable(s));
    json.Key("warning").String(SegmentWarning(s));
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
  std::printf("%s\n", json.Text().c_str());
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
  const auto report = InspectFilm(options->film, session.segments, session.tempFolder);
  if (!report) {
    std::fprintf(stderr, "kof: %s: not a film (no segment index at the start or behind a trailer)\n",
                 options->film.c_str());
    return kExitBadFilm;
  }
  if (options->json)
    PrintJson(*report, options->codePage);
  else
    PrintText(*report, options->codePage);
  return kExitOk;
}
