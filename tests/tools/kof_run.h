#pragma once
// Runs the real kof binary as a user does and captures what it prints; the small
// segments the tests give it.
#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

#include "writer/film_writer.h"

struct KofRun {
  int exitCode = -1;
  std::string out;  // standard output, or standard error when that was asked for
};

// `shellPrefix` runs before the program in the same shell (for example a ulimit); with
// `errors` standard error is read instead of standard output.
inline KofRun RunProgram(const std::string& program, const std::string& arguments, const std::string& shellPrefix = "",
                         bool errors = false) {
  KofRun run;
  std::string command = shellPrefix;
  command.append(" '").append(program).append("' ").append(arguments);
  command.append(errors ? " 2>&1 >/dev/null" : " 2>/dev/null");
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  std::array<char, 4096> buffer;
  for (size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) run.out.append(buffer.data(), n);
  const int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

inline KofRun Kof(const std::string& arguments, const std::string& shellPrefix = "", bool errors = false) {
  return RunProgram(RZ_KOF_PATH, arguments, shellPrefix, errors);
}

// A segment of two 6 x 4 pictures.
inline filmwriter::SegmentSpec SmallSegment(const std::string& name, uint32_t colour = 0x102030,
                                            filmwriter::Packing packing = filmwriter::Packing::Stored) {
  filmwriter::SegmentSpec spec;
  spec.data.name = name;
  spec.data.pictures = {filmwriter::Picture::Filled(6, 4, colour), filmwriter::Picture::Filled(6, 4, colour ^ 0x0101)};
  spec.packing = packing;
  return spec;
}
