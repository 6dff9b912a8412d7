#include "platform/machine_processes.h"

#include <windows.h>

#include <algorithm>
#include <bit>

#include "platform/wide_text_win.h"

std::string MachineName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
  if (!::GetComputerNameW(name, &length) || length == 0) return "localhost";
  return WideToUtf8(std::wstring_view(name, length));
}

int64_t ThisProcessId() { return ::GetCurrentProcessId(); }

// A process that cannot be opened for lack of rights runs all the same.
bool ProcessRunning(int64_t id) {
  const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(id));
  if (process == nullptr) return ::GetLastError() == ERROR_ACCESS_DENIED;
  DWORD code = 0;
  const bool running = ::GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
  ::CloseHandle(process);
  return running;
}

int32_t UsableProcessors() {
  DWORD_PTR mine = 0, system = 0;
  if (::GetProcessAffinityMask(::GetCurrentProcess(), &mine, &system) && mine != 0)
    return std::popcount(static_cast<unsigned long long>(mine));
  SYSTEM_INFO info;
  ::GetSystemInfo(&info);
  return std::max<int32_t>(1, int32_t(info.dwNumberOfProcessors));
}
