#include "kof_export/rename_if_free.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

Move RenameIfFree(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return Move::Done;
  if (errno == EEXIST) return Move::Taken;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) throw std::system_error(errno, std::generic_category());
  // A file system without that rename (NFS among them) still makes a hard link only
  // where no file is.
  if (::link(from.c_str(), to.c_str()) == 0) {
    ::unlink(from.c_str());
    return Move::Done;
  }
  if (errno == EEXIST) return Move::Taken;
  if (errno == EPERM || errno == ENOTSUP || errno == EOPNOTSUPP) return Move::Unsupported;
  throw std::system_error(errno, std::generic_category());
}
