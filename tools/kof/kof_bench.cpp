// kof bench FILM [--repeat N]: every frame of every playable segment decoded as the
// player decodes it (records laid on the picture, pointer drawn), nothing written;
// ends with "N frames in S s: F fps". With --seek: seeking (kof_seek_bench.cpp); with
// --activity: the activity model (kof_activity_bench.cpp).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "kof_common/film_report.h"
#include "kof_common/kof_commands.h"
#include "kof_common/kof_session.h"
#include "playback/headless_player.h"

int RunBench(const Arguments& args) {
  if (std::find(args.begin(), args.end(), "--seek") != args.end()) return RunSeekBench(args);
  if (std::find(args.begin(), args.end(), "--activity") != args.end()) return RunActivityBench(args);
  int32_t repeat = 1;
  const bool withRepeat = args.size() == 3 && args[1] == "--repeat";
  if (withRepeat) {
    char* end = nullptr;
    const long value = std::strtol(args[2].c_str(), &end, 10);
    repeat = end != args[2].c_str() && *end == '\0' && value >= 1 && value <= 1000000 ? int32_t(value) : 0;
  }
  if ((args.size() != 1 && !withRepeat) || repeat < 1) {
    std::fputs("usage: kof bench FILM [--repeat N]\n", stderr);
    return kExitUsage;
  }
  KofSession session;
  if (!session.Load(args[0])) return kExitBadFilm;
  THeadlessPlayer player(session.segments);
  int64_t frames = 0;
  const auto count = [&frames](int32_t, const TkoPictureView&) { return ++frames, true; };
  const auto start = std::chrono::steady_clock::now();
  for (int32_t round = 0; round < repeat; ++round) {
    for (int32_t i = 0; i < session.segments.Count(); ++i) {
      const TSegmentInfo* segment = session.segments.Get(i);
      if (segment == nullptr || !segment->Playable() || !IsDrawableDepth(segment->BitsPerPixel)) continue;
      if (const std::string failure = player.PlaySegment(i, count); !failure.empty() && round == 0)
        std::fprintf(stderr, "kof: segment %d: %s\n", i + 1, failure.c_str());
    }
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!player.Damage().empty()) std::fprintf(stderr, "kof: %s\n", player.Damage().c_str());
  if (frames == 0) {
    std::fputs("kof: the film has no playable segment\n", stderr);
    return kExitBadFilm;
  }
  std::printf("%lld frames in %.3f s: %.1f fps\n", static_cast<long long>(frames), seconds,
              seconds > 0 ? double(frames) / seconds : 0.0);
  return kExitOk;
}
