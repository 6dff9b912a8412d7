// kof bench FILM --activity: how long the activity model takes over every segment of
// the film: reading the records and the pointer track, then the model itself. The
// sound is not decoded here (kof starts without FFmpeg): each player brings its own
// decoder, timed apart (bench/activity_bench.sh times kof activity as a whole).
#include <chrono>
#include <cstdio>

#include "kof_common/kof_commands.h"
#include "kof_common/kof_session.h"
#include "playback/activity_source.h"

namespace {
double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
}  // namespace

int RunActivityBench(const Arguments& args) {
  if (args.size() != 2 || args[1] != "--activity") {
    std::fputs("usage: kof bench FILM --activity\n", stderr);
    return kExitUsage;
  }
  KofSession session;
  if (!session.Load(args[0])) return kExitBadFilm;
  double reading = 0, computing = 0, filmSeconds = 0;
  size_t stretches = 0, frames = 0;
  for (int32_t i = 0; i < session.segments.Count(); ++i) {
    const TSegmentInfo* segment = session.segments.Get(i);
    if (segment == nullptr || !segment->Playable()) continue;
    auto start = std::chrono::steady_clock::now();
    TActivityInput input;
    if (const std::string problem = ReadActivityInput(TActivitySource::Of(*segment, i), input); !problem.empty())
      std::fprintf(stderr, "kof: segment %d: %s\n", i + 1, problem.c_str());
    reading += SecondsSince(start);
    start = std::chrono::steady_clock::now();
    const TSegmentActivity activity = ComputeActivity(input);
    computing += SecondsSince(start);
    filmSeconds += activity.Seconds;
    stretches += activity.Idle.size();
    frames += input.Frames.size();
  }
  if (frames == 0) {
    std::fputs("kof: the film has no playable segment\n", stderr);
    return kExitBadFilm;
  }
  std::printf("activity of %.0f s of film (%zu frames, %zu idle stretches without sound): records and track read "
              "in %.3f s, model in %.3f s\n",
              filmSeconds, frames, stretches, reading, computing);
  return kExitOk;
}
