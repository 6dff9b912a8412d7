// kof-export: the program behind `kof export` and `kof activity`, and the only one of
// kof's that loads FFmpeg's libraries, so that the other commands start without them.
// kof runs it in its own place (kof_export_exec.cpp) with the command's name and the
// arguments after it. A batch on Windows runs it as its workers (export_workers.h).
#include <cstdio>
#include <string>

#include "export_workers.h"
#include "kof_commands.h"
#include "program_arguments.h"

int main(int argc, char** argv) {
  const Arguments all = ProgramArguments(argc, argv);
  const std::string command = all.empty() ? "" : all[0];
  const Arguments args(all.begin() + (all.empty() ? 0 : 1), all.end());
  if (command == "export") return RunReported(RunExport, args);
  if (command == "activity") return RunReported(RunActivity, args);
  if (command == "worker") return RunReported(RunExportWorker, args);
  std::fputs("usage: kof-export export|activity ARGUMENTS (run by kof)\n", stderr);
  return kExitUsage;
}
