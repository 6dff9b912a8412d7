#include <windows.h>

#include "film/file_handle.h"

namespace {
HANDLE AsHandle(FileHandle handle) { return reinterpret_cast<HANDLE>(handle); }

DWORD ShareFlags(FileShare share) {
  switch (share) {
    case FileShare::None: return 0;
    case FileShare::Read: return FILE_SHARE_READ;
    case FileShare::Write: return FILE_SHARE_WRITE;
    case FileShare::ReadWrite: return FILE_SHARE_READ | FILE_SHARE_WRITE;
  }
  return 0;
}

DWORD AccessFlags(FileAccess access) {
  switch (access) {
    case FileAccess::Read: return GENERIC_READ;
    case FileAccess::Write: return GENERIC_WRITE;
    case FileAccess::ReadWrite: return GENERIC_READ | GENERIC_WRITE;
  }
  return GENERIC_READ;
}
}  // namespace

FileHandle OpenFileHandle(const std::filesystem::path& path, FileAccess access, FileShare share,
                          FileCreation creation) {
  const DWORD disposition = creation == FileCreation::CreateAlways ? CREATE_ALWAYS : OPEN_EXISTING;
  HANDLE h = CreateFileW(path.c_str(), AccessFlags(access), ShareFlags(share), nullptr, disposition,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  return h == INVALID_HANDLE_VALUE ? kInvalidFileHandle : reinterpret_cast<FileHandle>(h);
}

void CloseFileHandle(FileHandle handle) {
  if (handle != kInvalidFileHandle) CloseHandle(AsHandle(handle));
}

int64_t ReadFileHandle(FileHandle handle, void* buffer, int64_t count) {
  DWORD done = 0;
  if (!ReadFile(AsHandle(handle), buffer, static_cast<DWORD>(count), &done, nullptr)) return -1;
  return done;
}

int64_t WriteFileHandle(FileHandle handle, const void* buffer, int64_t count) {
  DWORD done = 0;
  if (!WriteFile(AsHandle(handle), buffer, static_cast<DWORD>(count), &done, nullptr)) return -1;
  return done;
}

int64_t SeekFileHandle(FileHandle handle, int64_t distance, SeekOrigin origin) {
  const DWORD method = origin == SeekOrigin::Begin ? FILE_BEGIN : origin == SeekOrigin::Current ? FILE_CURRENT : FILE_END;
  LARGE_INTEGER move, result;
  move.QuadPart = distance;
  if (!SetFilePointerEx(AsHandle(handle), move, &result, method)) return -1;
  return result.QuadPart;
}
