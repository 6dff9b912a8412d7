// kof export, kof activity and kof index on Windows: kof-export.exe, beside
// kof.exe, runs with kof's own arguments. Windows has no exec, so kof waits for it and
// exits with its code; both share the console and the standard streams, so the output,
// the progress line and Ctrl+C are the command's own. Ctrl+C reaches both: kof-export
// cleans up and ends, kof lets it pass and outlives it. A job object ends kof-export
// when kof itself is ended.
#include <windows.h>

#include <cstdio>
#include <string>

#include "kof_common/command_line_win.h"
#include "kof_common/killing_job_win.h"
#include "film/ko_cab.h"
#include "kof_common/kof_commands.h"
#include "platform/windows_command_line.h"
#include "kof_common/utf8_path.h"

namespace {
constexpr const wchar_t* kExportProgram = L"kof-export.exe";
constexpr DWORD kCloseGraceMs = 5000;

// kof-export has the same events and cleans up; a closed console window would end kof
// at once, and the job kof-export with it, so kof waits out the time Windows allows.
BOOL WINAPI LetPass(DWORD event) {
  if (event == CTRL_CLOSE_EVENT) ::Sleep(kCloseGraceMs);
  return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT || event == CTRL_CLOSE_EVENT;
}

int RunInExportProgram() {
  const std::filesystem::path program = ProgramBesideThis(kExportProgram);
  std::wstring line = WindowsCommandLine({program.wstring()}) + L" " + ArgumentsAfterProgram();
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  std::fflush(nullptr);
  if (!::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr, nullptr,
                        &startup, &process)) {
    std::fprintf(stderr, "kof: cannot run %s: %s\n", Utf8Of(program).c_str(),
                 SystemErrorText(int32_t(::GetLastError())).c_str());
    return kExitBadFilm;
  }
  const HANDLE job = KillingJob();
  if (job != nullptr) ::AssignProcessToJobObject(job, process.hProcess);
  ::SetConsoleCtrlHandler(LetPass, TRUE);
  ::ResumeThread(process.hThread);
  ::CloseHandle(process.hThread);
  ::WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = kExitBadFilm;
  ::GetExitCodeProcess(process.hProcess, &code);
  ::CloseHandle(process.hProcess);
  if (job != nullptr) ::CloseHandle(job);
  return int(code);
}
}  // namespace

// The arguments come from the command line itself, untouched by any code page.
int RunExportProgram(const Arguments&) { return RunInExportProgram(); }
int RunActivityProgram(const Arguments&) { return RunInExportProgram(); }
int RunIndexProgram(const Arguments&) { return RunInExportProgram(); }
