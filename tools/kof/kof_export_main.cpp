// kof-export: the program behind `kof export`, `kof activity` and `kof index`, and the
// only one of kof's that loads FFmpeg's and Tesseract's libraries, so that the other commands start without them.
// kof runs it in its own place (kof_export_exec.cpp) with the command's name and the
// arguments after it.
#include <algorithm>
#include <cstdio>
#include <string>

#include "kof_commands.h"

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  const Arguments args(argv + std::min(argc, 2), argv + argc);
  if (command == "export") return RunReported(RunExport, args);
  if (command == "activity") return RunReported(RunActivity, args);
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
