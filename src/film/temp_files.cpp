#include "film/temp_files.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <system_error>

#include "film/ko_error.h"
#include "film/ko_stream.h"

std::filesystem::path SystemTempFolder() {
  std::error_code error;
  std::filesystem::path folder = std::filesystem::temp_directory_path(error);
  if (error || folder.empty()) throw EkoError("The system names no temporary folder");
  // Windows reports it with a final separator; paths are joined with "/" anyway.
  if (!folder.has_filename() && folder.has_relative_path()) folder = folder.parent_path();
  return folder;
}

// The folder is claimed by creating it, not by looking first: two players starting at
// the same moment would otherwise both take the same free number.
std::filesystem::path CreatePlayerTempFolder(const std::filesystem::path& parent) {
  const std::filesystem::path base = parent.empty() ? SystemTempFolder() : parent;
  constexpr unsigned long kMaxNumber = 999999;
  std::filesystem::path folder;
  for (unsigned long n = 0; n <= kMaxNumber; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "koP_%04lu", n);
    folder = base / name;
    std::error_code error;
    if (std::filesystem::create_directory(folder, error)) return folder;
    // Taken (by a folder or a file of that name): try the next number. Any other
    // failure would stop every later number too.
    if (error && !std::filesystem::exists(folder, error)) break;
  }
  throw EkoError(FormatText("Cannot create the temporary folder %s", PathText(folder).c_str()));
}

bool RemovePlayerTempFolder(const std::filesystem::path& folder) {
  std::error_code error;
  if (folder.empty() || !std::filesystem::exists(folder, error)) return true;
  if (!std::filesystem::is_empty(folder, error) || error) return false;
  return std::filesystem::remove(folder, error) && !error;
}

namespace {
void MakeWritable(const std::filesystem::path& path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::symlink_status(path, error);
  if (error || !std::filesystem::is_regular_file(status)) return;
  if ((status.permissions() & std::filesystem::perms::owner_write) == std::filesystem::perms::none)
    std::filesystem::permissions(path, std::filesystem::perms::owner_write, std::filesystem::perm_options::add,
                                 error);
}
}  // namespace

bool RemoveTempPath(const std::filesystem::path& path) {
  if (path.empty()) return true;
  std::error_code error;
  MakeWritable(path);
  if (std::filesystem::is_directory(std::filesystem::symlink_status(path, error))) {
    for (auto it = std::filesystem::recursive_directory_iterator(path, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error))
      MakeWritable(it->path());
  }
  std::filesystem::remove_all(path, error);
  return !std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

TTempPath& TTempPath::operator=(TTempPath&& other) noexcept {
  if (this != &other) {
    Reset();
    FPath = other.Release();
  }
  return *this;
}

std::filesystem::path TTempPath::Release() {
  std::filesystem::path path = std::move(FPath);
  FPath.clear();
  return path;
}

void TTempPath::Reset() {
  RemoveTempPath(FPath);
  FPath.clear();
}

std::string TempTimeStamp() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &seconds);
#else
  localtime_r(&seconds, &local);
#endif
  char stamp[40];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d%02d%02d%02d%03d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(millis));
  return stamp;
}

std::filesystem::path MakeTempFileName(const std::string& extension, const std::filesystem::path& folder,
                                       const std::string& prefix) {
  const std::filesystem::path base = folder.empty() ? SystemTempFolder() : folder;
  for (;;) {
    std::filesystem::path name = base / (prefix + TempTimeStamp() + "." + extension);
    std::error_code error;
    // When the folder cannot be looked into, creating the file will fail and say so;
    // looping would only spin.
    if (!std::filesystem::exists(name, error) || error) return name;
  }
}
