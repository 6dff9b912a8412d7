#include "kof_export/batch_workers.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <deque>
#include <mutex>
#include <thread>

#include "kof_common/command_line_win.h"
#include "kof_common/killing_job_win.h"
#include "film/ko_cab.h"
#include "film/ko_error.h"
#include "kof_export/interruption.h"
#include "platform/wide_text_win.h"
#include "platform/windows_command_line.h"
#include "kof_export/progress_line.h"

namespace {
constexpr const wchar_t* kExportProgram = L"kof-export.exe";

// A pipe's read end, read by a thread of its own: Windows cannot wait on anonymous
// pipes, nor poll them.
struct PipeReader {
  HANDLE handle = nullptr;
  std::thread thread;
  std::string pending;  // the part of a line that has come so far
  bool ended = false;
};

[[noreturn]] void FailToStart() { throw EkoError(SystemErrorText(int32_t(::GetLastError()))); }

// A pipe whose write end the worker inherits and whose read end stays here.
std::pair<HANDLE, HANDLE> InheritedPipe() {
  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  if (!::CreatePipe(&read, &write, &inherit, 0)) FailToStart();
  ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  return {read, write};
}

std::wstring HandleText(HANDLE handle) { return std::to_wstring(reinterpret_cast<uintptr_t>(handle)); }

// An event that the worker inherits, set to stop it.
HANDLE InheritedEvent() {
  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  const HANDLE event = ::CreateEventW(&inherit, TRUE, FALSE, nullptr);
  if (event == nullptr) FailToStart();
  return event;
}

// kof-export.exe worker PROGRESS STOP ARGUMENTS...
std::wstring WorkerCommandLine(const std::vector<std::string>& arguments, HANDLE progress, HANDLE stop) {
  std::vector<std::wstring> args{ProgramBesideThis(kExportProgram).wstring(), L"worker", HandleText(progress),
                                 HandleText(stop)};
  for (const std::string& arg : arguments) args.push_back(Utf8ToWide(arg));
  return WindowsCommandLine(args);
}
}  // namespace

struct BatchWorkers::Worker {
  size_t job;
  HANDLE process;
  DWORD id;
  HANDLE stop;  // set: the worker stops as at Ctrl+C
  PipeReader messages, progress;
};

// What the readers have read, for the batch's thread to take.
struct BatchWorkers::Shared {
  struct Chunk {
    PipeReader* reader;
    std::string bytes;  // empty: the pipe ended
  };
  std::mutex mutex;
  std::condition_variable arrived;
  std::deque<Chunk> chunks;
  HANDLE job = KillingJob();

  void Read(PipeReader& reader) {
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(reader.handle, buffer, sizeof(buffer), &got, nullptr) && got > 0)
      Deliver({&reader, {buffer, got}});
    Deliver({&reader, {}});
  }

  void Deliver(Chunk chunk) {
    {
      const std::lock_guard<std::mutex> lock(mutex);
      chunks.push_back(std::move(chunk));
    }
    arrived.notify_one();
  }
};

BatchWorkers::BatchWorkers() : FShared(std::make_unique<Shared>()) {}

BatchWorkers::~BatchWorkers() {
  for (const auto& w : FWorkers) {
    ::TerminateProcess(w->process, 1);
    for (PipeReader* reader : {&w->messages, &w->progress})
      if (reader->thread.joinable()) reader->thread.join();
    ::CloseHandle(w->process);
    ::CloseHandle(w->stop);
  }
  if (FShared->job != nullptr) ::CloseHandle(FShared->job);
}

// The worker runs in a process group of its own: the console's Ctrl+C reaches only the
// batch, which passes it on (PassOn).
void BatchWorkers::Start(size_t job, const WorkerTask& task) {
  if (task.arguments.empty()) throw EkoError("no worker process for it on this system");
  const auto [messagesRead, messagesWrite] = InheritedPipe();
  const auto [progressRead, progressWrite] = InheritedPipe();
  const HANDLE stop = InheritedEvent();
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = messagesWrite;
  std::wstring line = WorkerCommandLine(task.arguments, progressWrite, stop);
  PROCESS_INFORMATION process = {};
  std::fflush(nullptr);
  const bool started = ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE,
                                        CREATE_NEW_PROCESS_GROUP | CREATE_SUSPENDED, nullptr, nullptr, &startup,
                                        &process);
  const DWORD error = ::GetLastError();
  ::CloseHandle(messagesWrite);
  ::CloseHandle(progressWrite);
  ::SetHandleInformation(stop, HANDLE_FLAG_INHERIT, 0);  // for this worker only
  if (!started) {
    ::CloseHandle(messagesRead);
    ::CloseHandle(progressRead);
    ::CloseHandle(stop);
    ::SetLastError(error);
    FailToStart();
  }
  if (FShared->job != nullptr) ::AssignProcessToJobObject(FShared->job, process.hProcess);
  ::ResumeThread(process.hThread);
  ::CloseHandle(process.hThread);
  auto worker = std::make_unique<Worker>();
  worker->job = job;
  worker->process = process.hProcess;
  worker->id = process.dwProcessId;
  worker->stop = stop;
  worker->messages.handle = messagesRead;
  worker->progress.handle = progressRead;
  for (PipeReader* reader : {&worker->messages, &worker->progress})
    reader->thread = std::thread([shared = FShared.get(), reader] { shared->Read(*reader); });
  FWorkers.push_back(std::move(worker));
}

void BatchWorkers::Wait(int ms, const LineHandler& onMessage, const LineHandler& onProgress) {
  std::deque<Shared::Chunk> chunks;
  {
    std::unique_lock<std::mutex> lock(FShared->mutex);
    FShared->arrived.wait_for(lock, std::chrono::milliseconds(ms), [&] { return !FShared->chunks.empty(); });
    chunks.swap(FShared->chunks);
  }
  for (Shared::Chunk& chunk : chunks) {
    for (const auto& w : FWorkers) {
      if (chunk.reader != &w->messages && chunk.reader != &w->progress) continue;
      const LineHandler& onLine = chunk.reader == &w->messages ? onMessage : onProgress;
      PipeReader& reader = *chunk.reader;
      reader.pending += chunk.bytes;
      for (size_t end; (end = reader.pending.find('\n')) != std::string::npos; reader.pending.erase(0, end + 1))
        onLine(w->job, reader.pending.substr(0, end - (end > 0 && reader.pending[end - 1] == '\r' ? 1 : 0)));
      if (!chunk.bytes.empty()) continue;
      if (!reader.pending.empty()) onLine(w->job, reader.pending);
      reader.pending.clear();
      reader.ended = true;
    }
  }
}

std::vector<WorkerEnd> BatchWorkers::TakeEnded() {
  std::vector<WorkerEnd> ended;
  for (auto w = FWorkers.begin(); w != FWorkers.end();) {
    Worker& worker = **w;
    if (!worker.messages.ended || !worker.progress.ended) {
      ++w;
      continue;
    }
    for (PipeReader* reader : {&worker.messages, &worker.progress}) {
      reader->thread.join();
      ::CloseHandle(reader->handle);
    }
    ::WaitForSingleObject(worker.process, INFINITE);
    DWORD code = 1;
    ::GetExitCodeProcess(worker.process, &code);
    ::CloseHandle(worker.process);
    ::CloseHandle(worker.stop);
    // An exception's status (a crash) rather than an exit code.
    char how[64] = "";
    if (code >= 0xC0000000u) std::snprintf(how, sizeof(how), "ended by exception 0x%08lX", static_cast<unsigned long>(code));
    ended.push_back({worker.job, int64_t(worker.id), code == 0, how});
    w = FWorkers.erase(w);
  }
  return ended;
}

void BatchWorkers::PassOn(int) {
  for (const auto& w : FWorkers) ::SetEvent(w->stop);
}

int RunAsWorker(const Arguments& args, const std::function<int(const Arguments&)>& work) {
  if (args.size() < 2) {
    std::fputs("usage: kof-export worker PROGRESS STOP ARGUMENTS... (run by a batch)\n", stderr);
    return kExitUsage;
  }
  const auto progress = reinterpret_cast<HANDLE>(std::stoull(args[0]));
  const auto stop = reinterpret_cast<HANDLE>(std::stoull(args[1]));
  CatchInterruptions();
  // The batch's word to stop counts as Ctrl+C; the thread ends with the process.
  std::thread([stop] {
    if (::WaitForSingleObject(stop, INFINITE) == WAIT_OBJECT_0) NoteInterruption(SIGINT);
  }).detach();
  ProgressLine::ReportTo(::_open_osfhandle(reinterpret_cast<intptr_t>(progress), _O_WRONLY | _O_BINARY));
  return work(Arguments(args.begin() + 2, args.end()));
}
