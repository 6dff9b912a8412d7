#include "film/file_handle.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

// POSIX has no share modes: every open here behaves as "others may read and write".
FileHandle OpenFileHandle(const std::filesystem::path& path, FileAccess access, FileShare,
                          FileCreation creation) {
  int flags = O_CLOEXEC;
  switch (access) {
    case FileAccess::Read: flags |= O_RDONLY; break;
    case FileAccess::Write: flags |= O_WRONLY; break;
    case FileAccess::ReadWrite: flags |= O_RDWR; break;
  }
  if (creation == FileCreation::CreateAlways) flags |= O_CREAT | O_TRUNC;
  const int fd = ::open(path.c_str(), flags, 0644);
  return fd < 0 ? kInvalidFileHandle : fd;
}

void CloseFileHandle(FileHandle handle) {
  if (handle != kInvalidFileHandle) ::close(static_cast<int>(handle));
}

int64_t ReadFileHandle(FileHandle handle, void* buffer, int64_t count) {
  auto* bytes = static_cast<char*>(buffer);
  int64_t done = 0;
  while (done < count) {
    const ssize_t n = ::read(static_cast<int>(handle), bytes + done, static_cast<size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return done > 0 ? done : -1;
    if (n == 0) break;
    done += n;
  }
  return done;
}

int64_t WriteFileHandle(FileHandle handle, const void* buffer, int64_t count) {
  const auto* bytes = static_cast<const char*>(buffer);
  int64_t done = 0;
  while (done < count) {
    const ssize_t n = ::write(static_cast<int>(handle), bytes + done, static_cast<size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return done > 0 ? done : -1;
    done += n;
  }
  return done;
}

int64_t SeekFileHandle(FileHandle handle, int64_t distance, SeekOrigin origin) {
  const int whence = origin == SeekOrigin::Begin ? SEEK_SET : origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
  return ::lseek(static_cast<int>(handle), static_cast<off_t>(distance), whence);
}
