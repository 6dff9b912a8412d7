#include "output_names.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <system_error>

namespace fs = std::filesystem;

namespace {
constexpr const char* kTemporaryMark = ".kof-export-";

std::string HostName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (gethostname(name, sizeof(name) - 1) != 0 || name[0] == '\0') return "localhost";
  return name;
}

// Whether a process of this machine with that id runs (one of another user counts).
bool Running(pid_t pid) { return kill(pid, 0) == 0 || errno == EPERM; }

// The process that writes a temporary output of this machine, from its name; 0 when
// the name is not one, or names another machine.
pid_t WriterOf(const std::string& name, const std::string& host) {
  const size_t mark = name.rfind(kTemporaryMark);
  if (mark == std::string::npos || mark == 0) return 0;
  const std::string owner = name.substr(mark + std::char_traits<char>::length(kTemporaryMark));
  const size_t dash = owner.rfind('-');
  if (dash == std::string::npos || owner.substr(0, dash) != host) return 0;
  const std::string digits = owner.substr(dash + 1);
  if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) return 0;
  return pid_t(std::stol(digits));
}
}  // namespace

fs::path TemporaryOutput(const fs::path& out, pid_t pid) {
  return out.string() + kTemporaryMark + HostName() + "-" + std::to_string(pid);
}

int RemoveAbandonedOutputs(const fs::path& folder) {
  const std::string host = HostName();
  int removed = 0;
  std::error_code error;
  for (fs::directory_iterator entry(folder.empty() ? fs::path(".") : folder, error), end; !error && entry != end;
       entry.increment(error)) {
    const pid_t writer = WriterOf(entry->path().filename().string(), host);
    if (writer <= 0 || (writer != getpid() && Running(writer)) || !entry->is_regular_file()) continue;
    std::error_code ignored;
    removed += fs::remove(entry->path(), ignored) ? 1 : 0;
  }
  return removed;
}
