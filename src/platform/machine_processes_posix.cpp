#include "platform/machine_processes.h"

#include <sched.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

std::string MachineName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (gethostname(name, sizeof(name) - 1) != 0 || name[0] == '\0') return "localhost";
  return name;
}

int64_t ThisProcessId() { return ::getpid(); }

bool ProcessRunning(int64_t id) { return ::kill(pid_t(id), 0) == 0 || errno == EPERM; }

int32_t UsableProcessors() {
  cpu_set_t set;
  if (sched_getaffinity(0, sizeof(set), &set) == 0) return std::max(1, CPU_COUNT(&set));
  return std::max<int32_t>(1, int32_t(::sysconf(_SC_NPROCESSORS_ONLN)));
}
