// kof-export: the program behind `kof export`, `kof activity` and `kof index`, and the
// only one of kof's that loads FFmpeg's and Tesseract's libraries, so that the other commands start without them.
// kof runs it in its own place (kof_export_exec.cpp) with the command's name and the
// arguments after it. A batch on Windows runs it as its workers (export_worker.h).
#include <cstdio>
#include <string>

#include "kof_export/export_worker.h"
#include "kof_common/kof_commands.h"
#include "platform/export_leftovers.h"
#include "kof_common/program_arguments.h"

int main(int argc, char** argv) {
  const Arguments all = ProgramArguments(argc, argv);
  const std::string command = all.empty() ? "" : all[0];
  const Arguments args(all.begin() + (all.empty() ? 0 : 1), all.end());
  // The films that killed runs unpacked go before this one unpacks its own.
  RemoveAbandonedUnpackFolders();
  if (command == "export") return RunReported(RunExport, args);
  if (command == "activity") return RunReported(RunActivity, args);
  if (command == "worker") return RunReported(RunExportWorker, args);
#ifdef RZ_TEXT_READER
  if (command == "index") return RunReported(RunIndex, args);
#else
  if (command == "index") {
    std::fputs("kof: this kof was built without Tesseract, so kof index cannot read text\n", stderr);
    return kExitBadFilm;
  }
#endif
  std::fputs("usage: kof-export export|activity|index ARGUMENTS (run by kof)\n", stderr);
  return kExitUsage;
}
