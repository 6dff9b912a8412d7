#pragma once
// Runs the real kof binary as a user does and captures what it prints.
#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

struct KofRun {
  int exitCode = -1;
  std::string out;  // standard output; standard error is dropped
};

// `shellPrefix` runs before kof in the same shell (for example a ulimit).
inline KofRun Kof(const std::string& arguments, const std::string& shellPrefix = "") {
  KofRun run;
  std::string command = shellPrefix;
  command.append(" '").append(RZ_KOF_PATH).append("' ").append(arguments).append(" 2>/dev/null");
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  std::array<char, 4096> buffer;
  for (size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) run.out.append(buffer.data(), n);
  const int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}
