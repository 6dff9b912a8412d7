// kof frames FILM --segment N --out DIR [--from A] [--to B] [--every K] [--no-cursor]:
// the pictures of segment N (from 1) as PNG files segNNN_frameNNNNN.png (frames from
// 0), each exactly what the player shows at the tick that presents that frame,
// pointer included.
#include <cstdio>
#include <limits>
#include <optional>
#include <system_error>

#include "kof_common/film_report.h"
#include "kof_common/kof_commands.h"
#include "kof_common/kof_session.h"
#include "playback/headless_player.h"
#include "kof/png_file.h"
#include "kof_common/utf8_path.h"

namespace {
constexpr const char* kFramesUsage =
    "usage: kof frames FILM --segment N --out DIR [--from A] [--to B] [--every K] [--no-cursor]\n";

struct FramesOptions {
  std::filesystem::path film, out;
  int32_t segment = 0;  // from 1
  int32_t from = 0;
  int32_t to = std::numeric_limits<int32_t>::max();
  int32_t every = 1;
  bool cursor = true;
};

// A whole non-negative decimal number that fits int32_t.
std::optional<int32_t> ParseCount(const std::string& text) {
  if (text.empty() || text.size() > 10) return std::nullopt;
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value > std::numeric_limits<int32_t>::max()) return std::nullopt;
  return static_cast<int32_t>(value);
}

std::optional<FramesOptions> ParseFramesArguments(const Arguments& args) {
  FramesOptions options;
  bool haveFilm = false, haveOut = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--no-cursor") {
      options.cursor = false;
      continue;
    }
    if (a == "--out") {
      if (++i == args.size()) return std::nullopt;
      options.out = PathOfUtf8(args[i]);
      haveOut = true;
      continue;
    }
    int32_t* number = a == "--segment" ? &options.segment
                      : a == "--from"  ? &options.from
                      : a == "--to"    ? &options.to
                      : a == "--every" ? &options.every
                                       : nullptr;
    if (number != nullptr) {
      const auto value = ++i < args.size() ? ParseCount(args[i]) : std::nullopt;
      if (!value) return std::nullopt;
      *number = *value;
      continue;
    }
    if (haveFilm || a.starts_with("--")) return std::nullopt;
    options.film = PathOfUtf8(a);
    haveFilm = true;
  }
  if (!haveFilm || !haveOut || options.segment < 1 || options.every < 1 || options.from > options.to)
    return std::nullopt;
  return options;
}

std::string FrameFileName(int32_t segment, int32_t frame) {
  char name[48];
  std::snprintf(name, sizeof(name), "seg%03d_frame%05d.png", segment, frame);
  return name;
}

}  // namespace

int RunFrames(const Arguments& args) {
  const auto options = ParseFramesArguments(args);
  if (!options) {
    std::fputs(kFramesUsage, stderr);
    return kExitUsage;
  }
  KofSession session;
  if (!session.Load(Utf8Of(options->film))) return kExitBadFilm;
  const TSegmentInfo* segment = session.segments.Get(options->segment - 1);
  if (segment == nullptr) {
    std::fprintf(stderr, "kof: no segment %d (the film has %d)\n", options->segment, session.segments.Count());
    return kExitBadFilm;
  }
  if (const std::string why = WhyNotDrawable(*segment); !why.empty()) {
    std::fprintf(stderr, "kof: segment %d cannot be played: %s\n", options->segment, why.c_str());
    return kExitBadFilm;
  }
  std::error_code error;
  std::filesystem::create_directories(options->out, error);
  if (error) {
    std::fprintf(stderr, "kof: cannot create %s: %s\n", Utf8Of(options->out).c_str(), error.message().c_str());
    return kExitBadFilm;
  }

  THeadlessPlayer player(session.segments);
  player.SetCursorVisible(options->cursor);
  int32_t written = 0;
  std::string writeError;
  const std::string failure = player.PlaySegment(options->segment - 1, [&](int32_t frame, const TkoPictureView& picture) {
    if (frame > options->to) return false;
    if (frame < options->from || (frame - options->from) % options->every != 0) return true;
    const auto path = options->out / FrameFileName(options->segment, frame);
    writeError = WritePng(path, picture);
    if (!writeError.empty()) writeError = Utf8Of(path) + ": " + writeError;
    written += writeError.empty();
    return writeError.empty();
  });
  if (!player.Damage().empty())
    std::fprintf(stderr, "kof: segment %d: %s\n", options->segment, player.Damage().c_str());
  if (!writeError.empty() || !failure.empty()) {
    std::fprintf(stderr, "kof: %s\n", !writeError.empty() ? writeError.c_str() : failure.c_str());
    return kExitBadFilm;
  }
  if (written == 0) {
    std::fprintf(stderr, "kof: no frame of segment %d lies in the range asked for (it has %d)\n", options->segment,
                 segment->FrameCount);
    return kExitBadFilm;
  }
  return kExitOk;
}
