#include "app/video_export_job_win.h"

#include <cwctype>
#include <system_error>

#include "session/video_export.h"
#include "film/ko_cab.h"
#include "film/ko_error.h"
#include "film/temp_files.h"
#include "platform/export_leftovers.h"
#include "platform/wide_text_win.h"
#include "platform/windows_command_line.h"

namespace {
// kof-export's message: its last lines are enough.
constexpr size_t kLongestMessage = 600;
constexpr DWORD kStartRetryMs = 200;

// Reads lines of the child's progress and posts each share to window until the child
// closes its end, then waits for the child and posts its end.
void ReadProgress(HANDLE progress, HANDLE process, HWND window) {
  std::string pending;
  char buffer[512];
  DWORD read = 0;
  while (ReadFile(progress, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    pending.append(buffer, read);
    for (size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1))
      if (const auto share = ReadExportProgress(pending.substr(0, end)))
        PostMessageW(window, WM_EXPORTPROGRESS, 0, static_cast<LPARAM>(*share * 1e6));
  }
  WaitForSingleObject(process, INFINITE);
  PostMessageW(window, WM_EXPORTENDED, 0, 0);
}

void ReadErrors(HANDLE errors, std::string& text) {
  char buffer[512];
  DWORD read = 0;
  while (ReadFile(errors, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    text.append(buffer, read);
    if (text.size() > 4 * kLongestMessage) text.erase(0, text.size() - kLongestMessage);
  }
}

void CloseHandleOnce(HANDLE& handle) {
  if (handle != nullptr) CloseHandle(handle);
  handle = nullptr;
}

// Whether the environment entry ("NAME=value") sets TMP or TEMP.
bool SetsTempFolder(std::wstring_view entry) {
  const std::wstring_view name = entry.substr(0, entry.find(L'=', 1));
  if (name.size() != 3 && name.size() != 4) return false;
  std::wstring upper(name);
  for (wchar_t& c : upper) c = static_cast<wchar_t>(std::towupper(c));
  return upper == L"TMP" || upper == L"TEMP";
}

// This process's environment with TMP and TEMP naming folder, as a block for
// CreateProcessW (CREATE_UNICODE_ENVIRONMENT).
std::wstring EnvironmentWithTempFolder(const std::filesystem::path& folder) {
  std::wstring block;
  if (wchar_t* own = GetEnvironmentStringsW()) {
    for (const wchar_t* entry = own; *entry != L'\0'; entry += wcslen(entry) + 1)
      if (!SetsTempFolder(entry)) block.append(entry).push_back(L'\0');
    FreeEnvironmentStringsW(own);
  }
  for (const wchar_t* name : {L"TEMP=", L"TMP="}) block.append(name).append(folder.wstring()).push_back(L'\0');
  block.push_back(L'\0');
  return block;
}

// A folder of the job's own for the child's temporary files; empty when none can be made.
std::filesystem::path MakeChildTempFolder() {
  try {
    return CreatePlayerTempFolder();
  } catch (const EkoError&) {
    return {};
  }
}

// A pipe whose one end the child inherits; the other stays here, not inherited.
bool MakePipe(HANDLE& ours, HANDLE& childs, bool childReads) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return false;
  ours = childReads ? writeEnd : readEnd;
  childs = childReads ? readEnd : writeEnd;
  SetHandleInformation(ours, HANDLE_FLAG_INHERIT, 0);
  return true;
}
}  // namespace

bool TVideoExportJob::Start(const std::filesystem::path& program, const std::vector<std::string>& args,
                            HWND window) {
  HANDLE childInput = nullptr, childOutput = nullptr, childErrors = nullptr;
  bool piped = MakePipe(FInput, childInput, true);
  piped = piped && MakePipe(FProgress, childOutput, false);
  piped = piped && MakePipe(FErrors, childErrors, false);
  std::vector<std::wstring> arguments{program.wstring()};
  for (const std::string& arg : args) arguments.push_back(Utf8ToWide(arg));
  std::wstring commandLine = WindowsCommandLine(arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = childInput;
  startup.hStdOutput = childOutput;
  startup.hStdError = childErrors;
  PROCESS_INFORMATION process{};
  FChildTemp = MakeChildTempFolder();
  std::wstring environment = FChildTemp.empty() ? std::wstring() : EnvironmentWithTempFolder(FChildTemp);
  // A start refused for a moment (a scanner holding the program file, a system short of
  // something under load) is tried once more; the reason of the last refusal is kept.
  bool started = false;
  for (int attempt = 0; piped && !started && attempt < 2; ++attempt) {
    if (attempt > 0) Sleep(kStartRetryMs);
    started = CreateProcessW(arguments[0].c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                             CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT,
                             environment.empty() ? nullptr : environment.data(), nullptr, &startup, &process) != 0;
  }
  if (!started) FStartError = GetLastError();
  for (HANDLE handle : {childInput, childOutput, childErrors})
    if (handle != nullptr) CloseHandle(handle);
  if (!started) {
    RemoveTempPath(FChildTemp);
    CloseHandleOnce(FInput);
    CloseHandleOnce(FProgress);
    CloseHandleOnce(FErrors);
    return false;
  }
  CloseHandle(process.hThread);
  FProcess = process.hProcess;
  FProcessId = process.dwProcessId;
  Started = GetTickCount64();
  FReader = std::thread(ReadProgress, FProgress, FProcess, window);
  FErrorReader = std::thread(ReadErrors, FErrors, std::ref(FErrorText));
  return true;
}

void TVideoExportJob::Cancel() {
  Cancelled = true;
  CloseHandleOnce(FInput);
}

void TVideoExportJob::JoinReaders() {
  if (FReader.joinable()) FReader.join();
  if (FErrorReader.joinable()) FErrorReader.join();
}

std::string TVideoExportJob::StartError() const {
  return FStartError == 0 ? std::string() : SystemErrorText(static_cast<int32_t>(FStartError));
}

DWORD TVideoExportJob::ExitCode() {
  JoinReaders();
  DWORD code = 1;
  if (FProcess == nullptr || !GetExitCodeProcess(FProcess, &code)) return 1;
  return code;
}

std::string TVideoExportJob::LastErrors() {
  JoinReaders();
  std::string text = FErrorText;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  if (text.size() > kLongestMessage) text.erase(0, text.size() - kLongestMessage);
  return text;
}

// kof-export removes what it wrote before it ends; only one that hangs is ended here,
// and its temporary video is removed once it is gone (what it unpacked is in the job's
// own temporary folder, removed with the job).
void TVideoExportJob::EndChild() {
  if (FProcess == nullptr || WaitForSingleObject(FProcess, StopWaitMs) != WAIT_TIMEOUT) return;
  TerminateProcess(FProcess, 1);
  std::error_code ignored;
  if (WaitForSingleObject(FProcess, kStopWaitMs) == WAIT_OBJECT_0)
    std::filesystem::remove(TemporaryOutput(Output, FProcessId), ignored);
}

TVideoExportJob::~TVideoExportJob() {
  if (ProgressBox != nullptr) DestroyWindow(ProgressBox);
  CloseHandleOnce(FInput);
  // Once the child is gone its pipes close, and the readers end.
  EndChild();
  JoinReaders();
  CloseHandleOnce(FProgress);
  CloseHandleOnce(FErrors);
  CloseHandleOnce(FProcess);
  RemoveTempPath(FChildTemp);
}
