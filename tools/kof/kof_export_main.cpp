// kof-export: the program behind `kof export` and `kof activity`, and the only one of
// kof's that loads FFmpeg's libraries, so that the other commands start without them.
// kof runs it in its own place (kof_export_exec.cpp) with the command's name and the
// arguments after it. A batch on Windows runs it as its workers (export_workers.h).
#include <algorithm>
#include <cstdio>
#include <string>

#include "export_workers.h"
#include "kof_commands.h"

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  const Arguments args(argv + std::min(argc, 2), argv + argc);
  if (command == "export") return RunReported(RunExport, args);
  if (command == "activity") return RunReported(RunActivity, args);
  if (command == "worker") return RunReported(RunExportWorker, args);
  std::fputs("usage: kof-export export|activity ARGUMENTS (run by kof)\n", stderr);
  return kExitUsage;
}
