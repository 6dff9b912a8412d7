#include "kof_export/export_worker.h"

#include <cstdio>

extern "C" {
#include <libavutil/log.h>
}

#include "kof_export/batch_workers.h"
#include "kof_export/export_run.h"
#include "kof_common/utf8_path.h"

namespace {
constexpr size_t kOwnArguments = 4;  // export THREADS KEEP UNPACK

int ExportFromArguments(const Arguments& args) {
  std::optional<ExportOptions> options;
  if (args.size() > kOwnArguments && args[0] == "export")
    options = ParseExportArguments(Arguments(args.begin() + kOwnArguments, args.end()));
  if (!options || options->Batch()) {
    std::fputs("usage: kof-export worker PROGRESS STOP export THREADS KEEP UNPACK FILM -o OUT [OPTIONS]"
               " (run by a batch)\n",
               stderr);
    return kExitUsage;
  }
  options->threads = std::stoi(args[1]);
  options->keepOthers = args[2] == "1";
  options->unpackFolder = PathOfUtf8(args[3]);
  // The libraries' own messages would only repeat what kof reports.
  av_log_set_level(AV_LOG_FATAL);
  return ExportFilm(*options);
}
}  // namespace

std::vector<std::string> ExportWorkerArguments(const ExportOptions& one) {
  std::vector<std::string> args{"export", std::to_string(one.threads), one.keepOthers ? "1" : "0",
                                Utf8Of(one.unpackFolder)};
  for (std::string& arg : OneFilmArguments(one)) args.push_back(std::move(arg));
  return args;
}

int RunExportWorker(const Arguments& args) { return RunAsWorker(args, ExportFromArguments); }
