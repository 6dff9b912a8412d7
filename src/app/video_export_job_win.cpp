#include "app/video_export_job_win.h"

#include "app/video_export.h"
#include "platform/wide_text_win.h"
#include "platform/windows_command_line.h"

namespace {
// kof-export's message: its last lines are enough.
constexpr size_t kLongestMessage = 600;

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
  const bool started = piped && CreateProcessW(arguments[0].c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                               CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
  for (HANDLE handle : {childInput, childOutput, childErrors})
    if (handle != nullptr) CloseHandle(handle);
  if (!started) {
    CloseHandleOnce(FInput);
    CloseHandleOnce(FProgress);
    CloseHandleOnce(FErrors);
    return false;
  }
  CloseHandle(process.hThread);
  FProcess = process.hProcess;
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

TVideoExportJob::~TVideoExportJob() {
  if (ProgressBox != nullptr) DestroyWindow(ProgressBox);
  CloseHandleOnce(FInput);
  // kof-export removes what it wrote before it ends; only one that hangs is ended here.
  // Once the child is gone its pipes close, and the readers end.
  if (FProcess != nullptr && WaitForSingleObject(FProcess, StopWaitMs) == WAIT_TIMEOUT) TerminateProcess(FProcess, 1);
  JoinReaders();
  CloseHandleOnce(FProgress);
  CloseHandleOnce(FErrors);
  CloseHandleOnce(FProcess);
}
