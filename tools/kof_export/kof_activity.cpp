// kof activity FILM [--json] [--idle SECONDS]: where things happen in each segment, and
// its idle stretches: no picture change, no pointer move or shape change and no sound
// above -45 dBFS for at least the idle length (3 s unless told). Each segment's sound
// is decoded with FFmpeg (segment_activity.h), which is why this runs in kof-export.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

extern "C" {
#include <libavutil/log.h>
}

#include "film/json_writer.h"
#include "film/ko_error.h"
#include "kof_common/kof_commands.h"
#include "kof_common/kof_session.h"
#include "kof_export/segment_activity.h"

namespace {
constexpr const char* kActivityUsage = "usage: kof activity FILM [--json] [--idle SECONDS]\n";
constexpr double kLongestIdle = 24 * 3600;

struct ActivityOptions {
  std::string film;
  bool json = false;
  TActivitySettings settings;
};

// Seconds as a decimal number, at most a day, to the millisecond.
std::optional<int32_t> ParseMilliseconds(const std::string& text) {
  char* end = nullptr;
  const double seconds = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !(seconds >= 0) || seconds > kLongestIdle) return std::nullopt;
  return static_cast<int32_t>(std::lround(seconds * 1000));
}

std::optional<ActivityOptions> ParseActivityOptions(const Arguments& args) {
  ActivityOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--json") {
      options.json = true;
    } else if (args[i] == "--idle" && i + 1 < args.size()) {
      const auto milliseconds = ParseMilliseconds(args[++i]);
      if (!milliseconds) return std::nullopt;
      options.settings.IdleMilliseconds = *milliseconds;
    } else if (options.film.empty() && !args[i].starts_with("--")) {
      options.film = args[i];
    } else {
      return std::nullopt;
    }
  }
  if (options.film.empty()) return std::nullopt;
  return options;
}

std::string SoundText(const TSegmentActivity& activity, float db) {
  if (!activity.HasSound) return "none";
  if (std::isinf(db)) return "silent";
  char text[32];
  std::snprintf(text, sizeof text, "%.1f dB", db);
  return text;
}

void PrintText(const SegmentActivityResult& result) {
  const TSegmentActivity& a = result.activity;
  std::printf("segment %d: %.3f s, sound %s, %zu idle stretches\n", a.Segment + 1, a.Seconds,
              a.HasSound ? "mp3" : "none", a.Idle.size());
  for (const TIdleStretch& idle : a.Idle)
    std::printf("idle %d %.3f %.3f\n", idle.Segment + 1, idle.From, idle.To);
  for (size_t s = 0; s < a.Slices.size(); ++s) {
    const TActivitySlice& slice = a.Slices[s];
    const TkoRect& r = slice.ChangedArea;
    std::printf("   second %zu: pixels %lld", s, static_cast<long long>(slice.ChangedPixels));
    if (!r.IsEmpty()) std::printf(" in %d,%d-%d,%d", r.Left, r.Top, r.Right, r.Bottom);
    std::printf(", pointer %.0f px, shapes %d, sound %s%s\n", slice.PointerTravel, slice.ShapeChanges,
                SoundText(a, slice.SoundDb).c_str(), slice.Idle ? ", idle" : "");
  }
}

void WriteJsonSlice(TJsonWriter& json, const TSegmentActivity& a, const TActivitySlice& slice) {
  json.BeginObject();
  json.Key("from").Real(slice.From);
  json.Key("to").Real(slice.To);
  json.Key("changed_pixels").Number(slice.ChangedPixels);
  json.Key("changed_area");
  if (slice.ChangedArea.IsEmpty()) {
    json.Null();
  } else {
    const TkoRect& r = slice.ChangedArea;
    json.BeginArray().Number(r.Left).Number(r.Top).Number(r.Right).Number(r.Bottom).EndArray();
  }
  json.Key("pointer_travel").Real(slice.PointerTravel);
  json.Key("shape_changes").Number(slice.ShapeChanges);
  json.Key("sound_db");
  if (a.HasSound && !std::isinf(slice.SoundDb))
    json.Real(slice.SoundDb);
  else
    json.Null();
  json.Key("idle").Bool(slice.Idle);
  json.EndObject();
}

void WriteJsonSegment(TJsonWriter& json, const SegmentActivityResult& result) {
  const TSegmentActivity& a = result.activity;
  json.BeginObject();
  json.Key("segment").Number(a.Segment + 1);
  json.Key("seconds").Real(a.Seconds);
  json.Key("sound").Bool(a.HasSound);
  json.Key("warning").String(result.problem);
  json.Key("idle").BeginArray();
  for (const TIdleStretch& idle : a.Idle) {
    json.BeginObject();
    json.Key("segment").Number(idle.Segment + 1);
    json.Key("from").Real(idle.From);
    json.Key("to").Real(idle.To);
    json.EndObject();
  }
  json.EndArray();
  json.Key("seconds_activity").BeginArray();
  for (const TActivitySlice& slice : a.Slices) WriteJsonSlice(json, a, slice);
  json.EndArray();
  json.EndObject();
}
}  // namespace

int RunActivity(const Arguments& args) {
  const auto options = ParseActivityOptions(args);
  if (!options) {
    std::fputs(kActivityUsage, stderr);
    return kExitUsage;
  }
  av_log_set_level(AV_LOG_FATAL);  // damaged sound is reported once, by kof
  KofSession session;
  if (!session.Load(options->film)) return kExitBadFilm;
  TJsonWriter json;
  if (options->json) json.BeginObject().Key("idle_seconds").Real(options->settings.IdleMilliseconds / 1000.0);
  if (options->json) json.Key("segments").BeginArray();
  for (int32_t i = 0; i < session.segments.Count(); ++i) {
    const TSegmentInfo* segment = session.segments.Get(i);
    if (segment == nullptr) continue;
    const SegmentActivityResult result = MeasureSegmentActivity(*segment, i, options->settings);
    if (!result.problem.empty()) std::fprintf(stderr, "kof: segment %d: %s\n", i + 1, result.problem.c_str());
    if (options->json) {
      WriteJsonSegment(json, result);
      std::fputs(json.TakeText().c_str(), stdout);  // written as it goes: films can be long
    } else {
      PrintText(result);
    }
  }
  if (options->json) {
    json.EndArray().EndObject();
    std::printf("%s\n", json.TakeText().c_str());
  }
  return std::fflush(stdout) == 0 ? kExitOk : kExitBadFilm;
}
