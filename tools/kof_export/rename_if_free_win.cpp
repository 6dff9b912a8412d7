#include "kof_export/rename_if_free.h"

#include <windows.h>

#include <system_error>

// MoveFileEx without MOVEFILE_REPLACE_EXISTING fails where a file has the name, case
// aside, as the file system compares names.
Move RenameIfFree(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) return Move::Done;
  const DWORD error = ::GetLastError();
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) return Move::Taken;
  throw std::system_error(int(error), std::system_category());
}
