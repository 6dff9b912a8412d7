#include "kof/atomic_file.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "film/ko_cab.h"
#include "platform/export_leftovers.h"
#include "platform/machine_processes.h"
#include "kof_common/utf8_path.h"

namespace {
// Writes all of bytes to a new file of that name; false when it could not.
bool WriteNewFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  ::SetLastError(ERROR_SUCCESS);
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    const DWORD chunk = DWORD(std::min<size_t>(bytes.size() - done, 1u << 30));
    if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) break;
    done += written;
  }
  const bool flushed = ::FlushFileBuffers(file) != 0;
  return ::CloseHandle(file) && flushed && done == bytes.size();
}
}  // namespace

void WriteFileAtomically(const std::filesystem::path& out, const std::vector<uint8_t>& bytes) {
  const std::filesystem::path temporary = TemporaryOutput(out, ThisProcessId());
  ::DeleteFileW(temporary.c_str());  // a killed process's of the same id: nothing writes it now
  if (WriteNewFile(temporary, bytes) &&
      ::MoveFileExW(temporary.c_str(), out.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return;
  const DWORD error = ::GetLastError();
  const std::string reason = error != ERROR_SUCCESS ? SystemErrorText(int32_t(error)) : "short write";
  ::DeleteFileW(temporary.c_str());
  throw std::runtime_error("cannot write " + Utf8Of(out) + ": " + reason);
}
