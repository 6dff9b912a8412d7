#include "app/settings_file_win.h"

#include <shlobj.h>

#include <utility>

namespace {
constexpr DWORD kRetryMs = 20;

// Milliseconds since 1970 (UTC), when a change is taken.
int64_t NowMs() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  const int64_t ticks = static_cast<int64_t>((uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime);
  constexpr int64_t kTicksTo1970 = 116444736000000000;  // 100 ns from 1601 to 1970
  return (ticks - kTicksTo1970) / 10000;
}

// Another program has the file (or the lock) now; it may let go in a moment.
bool HeldByAnother(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

// Tries attempt again while it fails because another program holds the file, until
// deadline. The failure's error code stays for the caller.
template <typename Attempt>
bool Retried(ULONGLONG deadline, Attempt attempt) {
  while (!attempt()) {
    const DWORD error = GetLastError();
    if (!HeldByAnother(error) || GetTickCount64() >= deadline) {
      SetLastError(error);
      return false;
    }
    Sleep(kRetryMs);
  }
  return true;
}

class TFileHolder {
public:
  explicit TFileHolder(HANDLE file) : FFile(file) {}
  ~TFileHolder() {
    if (FFile != INVALID_HANDLE_VALUE) CloseHandle(FFile);
  }
  TFileHolder(const TFileHolder&) = delete;
  TFileHolder& operator=(const TFileHolder&) = delete;
  HANDLE Get() const { return FFile; }

private:
  HANDLE FFile;
};

std::filesystem::path Beside(const std::filesystem::path& file, const wchar_t* suffix) {
  return file.parent_path() / (file.stem().wstring() + suffix);
}

// Writers take turns: the lock on a byte of settings.lock, held until destroyed.
class TSettingsLock {
public:
  TSettingsLock(const std::filesystem::path& file, ULONGLONG deadline)
      : FFile(CreateFileW(Beside(file, L".lock").c_str(), GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {
    FHeld =
        FFile.Get() != INVALID_HANDLE_VALUE && Retried(deadline, [this] {
          OVERLAPPED start{};
          return LockFileEx(FFile.Get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &start) != FALSE;
        });
  }
  ~TSettingsLock() {
    OVERLAPPED start{};
    if (FHeld) UnlockFileEx(FFile.Get(), 0, 1, 0, &start);
  }
  bool Held() const { return FHeld; }

private:
  TFileHolder FFile;
  bool FHeld = false;
};

class TWindowsSettingsAccess final : public TSettingsFileAccess {
public:
  TWindowsSettingsAccess(const std::filesystem::path& file, ULONGLONG deadline) : FFile(file), FDeadline(deadline) {}

  // Read with others allowed to read, not to write: never a file half written.
  TRead Read(std::string& text) override {
    HANDLE opened = INVALID_HANDLE_VALUE;
    if (!Retried(FDeadline, [&] {
          opened = CreateFileW(FFile.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
          return opened != INVALID_HANDLE_VALUE;
        })) {
      const DWORD error = GetLastError();
      return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? TRead::kMissing : TRead::kBusy;
    }
    const TFileHolder file(opened);
    text.resize(TSettingsStore::kMaxFileBytes + 1);
    size_t size = 0;
    DWORD got = 0;
    do {
      if (!ReadFile(file.Get(), text.data() + size, static_cast<DWORD>(text.size() - size), &got, nullptr))
        return TRead::kBusy;
      size += got;
    } while (got > 0 && size < text.size());
    text.resize(size);
    return TRead::kRead;
  }

  bool MoveAside() override {
    return Retried(FDeadline, [&] {
      return MoveFileExW(FFile.c_str(), Beside(FFile, L".damaged.txt").c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    });
  }

  // Written whole and flushed under a name of this process, then renamed over the file:
  // a power cut leaves the old file or the new one, never a part.
  bool Replace(const std::string& text) override {
    std::filesystem::path temporary = FFile;
    temporary += L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    bool written = false;
    {
      const TFileHolder file(
          CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
      if (file.Get() == INVALID_HANDLE_VALUE) return false;
      DWORD done = 0;
      written = WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &done, nullptr) &&
                done == text.size() && FlushFileBuffers(file.Get());
    }
    const bool renamed = written && Retried(FDeadline, [&] {
                           return MoveFileExW(temporary.c_str(), FFile.c_str(),
                                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
                         });
    if (!renamed) DeleteFileW(temporary.c_str());
    return renamed;
  }

private:
  const std::filesystem::path& FFile;
  ULONGLONG FDeadline;
};
}  // namespace

std::filesystem::path SettingsFilePath() {
  PWSTR roaming = nullptr;
  std::filesystem::path folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &roaming))) folder = roaming;
  CoTaskMemFree(roaming);
  if (folder.empty()) return {};
  folder /= L"roRezodu";
  CreateDirectoryW(folder.c_str(), nullptr);  // there already, or it cannot be: writing tells
  return folder / L"settings.txt";
}

TSettingsStore TSettingsFile::Read() {
  TSettingsStore store;
  if (!Path().empty()) {
    TWindowsSettingsAccess file(Path(), GetTickCount64() + kPatienceMs);
    ReadSettings(file, store);
  }
  FPending.ApplyTo(store);
  return store;
}

void TSettingsFile::RememberPlace(const TFilmIdentity& film, TFilmFrame place) {
  FPending.RememberPlace(film, place, NowMs());
  WritePending();
}

void TSettingsFile::ForgetPlace(const TFilmIdentity& film) {
  FPending.ForgetPlace(film, NowMs());
  WritePending();
}

void TSettingsFile::SetValue(const std::string& key, const std::string& value) {
  FPending.SetValue(key, value, NowMs());
  WritePending();
}

bool TSettingsFile::WritePending(DWORD patienceMs) {
  if (FPending.Empty()) return true;
  if (Path().empty()) return false;
  const ULONGLONG deadline = GetTickCount64() + patienceMs;
  const TSettingsLock lock(Path(), deadline);
  if (!lock.Held()) return false;
  TWindowsSettingsAccess file(Path(), deadline);
  switch (WriteSettingsChanges(file, FPending)) {
    case TSettingsWrite::kDeferred:
    case TSettingsWrite::kLeftAlone: return false;
    case TSettingsWrite::kWritten:
    case TSettingsWrite::kSuperseded: break;  // what newer changes won over stays out for good
  }
  FPending.Clear();
  return true;
}

const std::filesystem::path& TSettingsFile::Path() {
  if (!FPath) FPath = SettingsFilePath();
  return *FPath;
}
