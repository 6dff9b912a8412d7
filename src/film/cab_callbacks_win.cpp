#include "film/cab_callbacks_win.h"

#include <cstdlib>

int32_t LastCabError = 0;

namespace {

TCabSession* g_session = nullptr;

constexpr int kOpenWrite = 0x0001, kOpenAppend = 0x0008;
constexpr int kOpenRandom = 0x0010, kOpenSequential = 0x0020, kOpenTemporary = 0x0040;
constexpr int kOpenCreate = 0x0100, kOpenTruncate = 0x0200, kOpenExclusive = 0x0400, kOpenShortLived = 0x1000;

HANDLE AsHandle(INT_PTR handle) { return reinterpret_cast<HANDLE>(handle); }

INT_PTR Fail() {
  LastCabError = static_cast<int32_t>(GetLastError());
  return -1;
}

DWORD Creation(int flags) {
  if ((flags & kOpenExclusive) && (flags & kOpenCreate)) return CREATE_NEW;
  if (flags & kOpenTruncate) return (flags & kOpenCreate) ? CREATE_ALWAYS : TRUNCATE_EXISTING;
  return (flags & kOpenCreate) ? OPEN_ALWAYS : OPEN_EXISTING;
}

DWORD Attributes(int flags) {
  DWORD attributes = ((flags & kOpenShortLived) && (flags & kOpenCreate)) ? FILE_ATTRIBUTE_TEMPORARY
                                                                          : FILE_ATTRIBUTE_NORMAL;
  if (flags & kOpenRandom) attributes |= FILE_FLAG_RANDOM_ACCESS;
  if (flags & kOpenSequential) attributes |= FILE_FLAG_SEQUENTIAL_SCAN;
  if ((flags & kOpenTemporary) && (flags & kOpenCreate)) attributes |= FILE_FLAG_DELETE_ON_CLOSE;
  return attributes;
}

std::wstring Decode(const char* text, UINT codePage) {
  const int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
  if (length <= 1) return {};
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text, -1, wide.data(), length);
  wide.resize(static_cast<size_t>(length - 1));
  return wide;
}

std::filesystem::path PathFromFdi(const char* name) {
  if (g_session) {
    const auto known = g_session->names.find(name);
    if (known != g_session->names.end()) return known->second;
  }
  std::wstring wide = Decode(name, CP_UTF8);
  if (wide.empty()) wide = Decode(name, CP_ACP);
  return std::filesystem::path(wide);
}

TCabTarget* TargetOf(INT_PTR handle) {
  if (!g_session) return nullptr;
  const auto found = g_session->targets.find(handle);
  return found == g_session->targets.end() ? nullptr : &found->second;
}

}  // namespace

void SetCabSession(TCabSession* session) { g_session = session; }

std::string FdiPathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

INT_PTR OpenCabFile(const std::filesystem::path& path, int openFlags) {
  const int accessBits = openFlags & 3;
  const DWORD access = accessBits == 0 ? GENERIC_READ
                                       : accessBits == kOpenWrite ? GENERIC_WRITE : GENERIC_READ | GENERIC_WRITE;
  if (path.empty()) {
    LastCabError = ERROR_FILE_NOT_FOUND;
    return -1;
  }
  HANDLE handle = CreateFileW(path.c_str(), access, FILE_SHARE_READ, nullptr, Creation(openFlags),
                              Attributes(openFlags), nullptr);
  if (handle == INVALID_HANDLE_VALUE) return Fail();
  if ((openFlags & kOpenAppend) && SetFilePointer(handle, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER &&
      GetLastError() != NO_ERROR) {
    Fail();
    CloseHandle(handle);
    return -1;
  }
  return reinterpret_cast<INT_PTR>(handle);
}

FNALLOC(CabAlloc) { return std::malloc(cb); }

FNFREE(CabFree) { std::free(pv); }

FNOPEN(CabOpen) {
  (void)pmode;
  return OpenCabFile(PathFromFdi(pszFile), oflag);
}

FNREAD(CabRead) {
  DWORD done = 0;
  if (!ReadFile(AsHandle(hf), pv, cb, &done, nullptr)) return static_cast<UINT>(Fail());
  return done;
}

FNWRITE(CabWrite) {
  TCabTarget* target = TargetOf(hf);
  if (target && target->written + cb > g_session->limit) {
    // Past the limit the member is cut off here; the copy ends and the file goes.
    target->failed = true;
    LastCabError = ERROR_FILE_TOO_LARGE;
    return static_cast<UINT>(-1);
  }
  DWORD done = 0;
  if (!WriteFile(AsHandle(hf), pv, cb, &done, nullptr)) {
    if (target) target->failed = true;
    return static_cast<UINT>(Fail());
  }
  if (target) target->written += done;
  return done;
}

FNCLOSE(CabClose) {
  if (TCabTarget* target = TargetOf(hf)) {
    if (!target->open) return 0;
    target->open = false;
  }
  return CloseHandle(AsHandle(hf)) ? 0 : static_cast<int>(Fail());
}

FNSEEK(CabSeek) {
  static constexpr DWORD kMethods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
  if (seektype < 0 || seektype > 2) {
    LastCabError = ERROR_INVALID_PARAMETER;
    return -1;
  }
  LARGE_INTEGER distance{}, position{};
  distance.QuadPart = dist;
  if (!SetFilePointerEx(AsHandle(hf), distance, &position, kMethods[seektype])) return static_cast<__LONG32>(Fail());
  return static_cast<__LONG32>(position.QuadPart);
}
