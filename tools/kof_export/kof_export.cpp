// kof export FILM -o OUT.{mp4,webm,gif,mkv} [--lossless] [--segment N] [--from TIME]
// [--to TIME] [--width W] [--skip-idle TIME] [--progress]: the film, or part of it, as an ordinary
// video file, its pictures the player's own, idle stretches left out if asked. With
// FILM... --out-dir DIR --format F, many films at once (export_batch.h).
#include <cstdio>

extern "C" {
#include <libavutil/log.h>
}

#include "kof_export/export_batch.h"
#include "kof_export/export_idle.h"
#include "kof_export/export_run.h"
#include "kof_common/film_report.h"
#include "kof_export/interruption.h"
#include "kof_common/kof_commands.h"
#include "kof_common/kof_session.h"
#include "platform/export_leftovers.h"
#include "kof_export/progress_line.h"
#include "kof_export/video_source.h"
#include "kof_common/utf8_path.h"

namespace {
constexpr const char* kExportUsage =
    "usage: kof export FILM -o OUT.{mp4,webm,gif,mkv} [OPTIONS]\n"
    "       kof export FILM... --out-dir DIR --format mp4|webm|gif|mkv [-j N] [--force] [OPTIONS]\n"
    "       OPTIONS: [--lossless] [--segment N] [--from TIME] [--to TIME] [--width W] [--skip-idle TIME]\n"
    "       --progress (one film): lines \"DONE TOTAL\" (seconds) on standard output; the end of\n"
    "       standard input stops the export as Ctrl+C does\n"
    "       TIME: seconds, M:S or H:M:S, with a fraction if wanted (90, 1:30, 0:01:30.5)\n"
    "       --lossless: .mkv only, without --width\n"
    "       --skip-idle: leaves out what is idle for at least TIME (0.5 s before each end stays)\n";

// Throws EkoError when the film cannot be exported, ExportInterrupted when a signal
// came first.
int ExportPlanned(const ExportOptions& options) {
  KofSession session(options.unpackFolder);
  if (!session.Load(Utf8Of(options.Film()))) return kExitBadFilm;
  ThrowIfInterrupted();
  ExportOptions recorded = options;
  recorded.source = FilmFingerprint(options.Film());
  ExportPlan plan = MakeExportPlan(session.segments, recorded);
  if (recorded.skipIdleMs > 0) CutIdleStretches(plan, session.segments, recorded.skipIdleMs);
  for (const std::string& skipped : plan.skipped) std::fprintf(stderr, "kof: %s; skipped\n", skipped.c_str());
  if (recorded.format == ExportFormat::Gif)
    ExportGif(session.segments, plan, recorded);
  else
    ExportVideo(session.segments, plan, recorded);
  return kExitOk;
}

// Exports the one film of -o; first removes what killed exports left in its folder.
int ExportOneFilm(const ExportOptions& options) {
  RemoveAbandonedOutputs(options.out.parent_path());
  return ExportFilm(options);
}
}  // namespace

void ReportSegment(const PlannedSegment& segment, const SegmentOutcome& outcome) {
  if (!outcome.damage.empty()) std::fprintf(stderr, "kof: segment %d: %s\n", segment.number, outcome.damage.c_str());
  if (!outcome.failure.empty())
    std::fprintf(stderr, "kof: segment %d: %s; the rest of it is skipped (%d of %d pictures exported)\n",
                 segment.number, outcome.failure.c_str(), outcome.delivered, segment.Kept());
}

double PlanSeconds(const ExportPlan& plan) {
  double seconds = 0;
  for (const PlannedSegment& segment : plan.segments) seconds += double(segment.Kept()) / segment.rate;
  return seconds;
}

int ExportFilm(const ExportOptions& options) {
  try {
    return ExportPlanned(options);
  } catch (const ExportInterrupted& interrupted) {
    std::fprintf(stderr, "kof: interrupted; %s is not written\n", Utf8Of(options.out).c_str());
    return ExitCodeOfSignal(interrupted.signal);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kof: %s\n", e.what());
    return kExitBadFilm;
  }
}

int RunExport(const Arguments& args) {
  const auto options = ParseExportArguments(args);
  if (!options) {
    std::fputs(kExportUsage, stderr);
    return kExitUsage;
  }
  // The libraries' own messages would only repeat what kof reports.
  av_log_set_level(AV_LOG_FATAL);
  CatchInterruptions();
  if (options->progress) {
    ProgressLine::ReportTo(fileno(stdout));
    InterruptWhenInputEnds();
  }
  const int code = options->Batch() ? RunExportBatch(*options) : ExportOneFilm(*options);
  // Everything is cleaned up: end by the signal itself, so that whoever started kof
  // (a shell's loop over films) learns it was interrupted and stops too. A film whose
  // video was complete and in place before the signal was looked for is exported.
  if (const int signal = InterruptingSignal(); signal != 0 && code != kExitOk) EndBySignal(signal);
  return code;
}
