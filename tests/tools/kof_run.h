#pragma once
// Runs the real kof binary as a user does and captures what it prints; the small
// segments the tests give it.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

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

// Starts program with args in the background, as a terminal would start it: SIGINT at
// its default, TMPDIR set and standard error into a file; with ownGroup in a process
// group of its own (as a shell's job), so that a signal can reach all its processes.
// Returns its process id, or -1.
inline pid_t StartProgram(const std::string& program, const std::vector<std::string>& args,
                          const std::filesystem::path& tmp, const std::filesystem::path& errors,
                          bool ownGroup = false) {
  std::vector<std::string> env = {"TMPDIR=" + tmp.string()};
  for (char** e = environ; *e != nullptr; ++e)
    if (!std::string(*e).starts_with("TMPDIR=")) env.emplace_back(*e);
  std::vector<char*> argv{const_cast<char*>(program.c_str())}, envp;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
  argv.push_back(nullptr);
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGINT);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes, short(POSIX_SPAWN_SETSIGDEF | (ownGroup ? POSIX_SPAWN_SETPGROUP : 0)));
  pid_t pid = -1;
  if (posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), envp.data()) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  return pid;
}

inline KofRun Kof(const std::string& arguments, const std::string& shellPrefix = "", bool errors = false) {
  return RunProgram(RZ_KOF_PATH, arguments, shellPrefix, errors);
}

// The file kof frames writes for frame (from 0) of segment (from 1).
inline std::string FrameName(int segment, int frame) {
  char name[48];
  std::snprintf(name, sizeof(name), "seg%03d_frame%05d.png", segment, frame);
  return name;
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
