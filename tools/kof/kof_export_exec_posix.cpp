// kof export, kof activity and kof index: run kof-export, installed beside kof,
// in kof's place. The process stays the same, so the exit code, both output streams,
// the progress line on a terminal and Ctrl+C are the command's own, as if kof did the
// work itself.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "kof_common/kof_commands.h"

namespace {
constexpr const char* kExportProgram = "kof-export";

// Beside the running kof; without /proc, wherever the search path finds it.
std::string ExportProgram() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? kExportProgram : (self.parent_path() / kExportProgram).string();
}

// Runs kof-export with command and args; returns only when it cannot be run.
int RunInExportProgram(const char* command, const Arguments& args) {
  const std::string program = ExportProgram();
  std::vector<char*> argv{const_cast<char*>(program.c_str()), const_cast<char*>(command)};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  std::fflush(nullptr);
  ::execvp(program.c_str(), argv.data());
  std::fprintf(stderr, "kof: cannot run %s: %s\n", program.c_str(), std::strerror(errno));
  return kExitBadFilm;
}
}  // namespace

int RunExportProgram(const Arguments& args) { return RunInExportProgram("export", args); }
int RunActivityProgram(const Arguments& args) { return RunInExportProgram("activity", args); }
int RunIndexProgram(const Arguments& args) { return RunInExportProgram("index", args); }
