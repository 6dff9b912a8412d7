#include "kof/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

#include "platform/export_leftovers.h"
#include "platform/machine_processes.h"

namespace {
// Writes all of bytes to a new file of that name; false when it could not.
bool WriteNewFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
  if (fd < 0) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  const bool flushed = ::fsync(fd) == 0;
  return ::close(fd) == 0 && flushed && done == bytes.size();
}
}  // namespace

void WriteFileAtomically(const std::filesystem::path& out, const std::vector<uint8_t>& bytes) {
  const std::filesystem::path temporary = TemporaryOutput(out, ThisProcessId());
  ::unlink(temporary.c_str());  // a killed process's of the same id: nothing writes it now
  errno = 0;
  if (WriteNewFile(temporary, bytes) && ::rename(temporary.c_str(), out.c_str()) == 0) return;
  const std::string reason = errno != 0 ? std::strerror(errno) : "short write";
  ::unlink(temporary.c_str());
  throw std::runtime_error("cannot write " + out.string() + ": " + reason);
}
