#pragma once
// One running video export: kof-export as a child process with its three pipes, a
// thread that reads its progress lines (kof export --progress) and posts them to a
// window, another that keeps the end of its error messages. The child's TMP and TEMP
// name a folder of the job's own, where kof-export unpacks the film. Destroying a job
// never waits long: a child still running is asked to stop (its standard input closed,
// which kof-export takes as a request to stop and remove what it wrote), given
// StopWaitMs, then ended; what an ended child wrote (its temporary output beside
// Output) is removed then, and the job's folder with whatever is in it in any case.
#include <windows.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

// Posted to the job's window by the progress reader: a share done (lParam, in
// millionths), and the child's end.
constexpr UINT WM_EXPORTPROGRESS = WM_APP + 4;
constexpr UINT WM_EXPORTENDED = WM_APP + 5;

class TVideoExportJob {
public:
  static constexpr DWORD kStopWaitMs = 10000;

  TVideoExportJob() = default;
  TVideoExportJob(const TVideoExportJob&) = delete;
  TVideoExportJob& operator=(const TVideoExportJob&) = delete;
  ~TVideoExportJob();

  // Starts program with args (after its own name), its progress posted to window; false
  // when it cannot be started.
  bool Start(const std::filesystem::path& program, const std::vector<std::string>& args, HWND window);
  // Why Start failed, in the system's words; "" when it did not.
  std::string StartError() const;
  // Asks the child to stop by closing its standard input; it ends on its own.
  void Cancel();
  // After WM_EXPORTENDED (they wait for the readers): the child's exit code, and the
  // last lines of its error messages.
  DWORD ExitCode();
  std::string LastErrors();

  std::filesystem::path Output;
  HWND ProgressBox = nullptr;  // destroyed with the job
  ULONGLONG Started = 0;
  bool Cancelled = false;
  DWORD StopWaitMs = kStopWaitMs;

private:
  DWORD FStartError = 0;
  void JoinReaders();
  void EndChild();

  HANDLE FProcess = nullptr;
  DWORD FProcessId = 0;
  std::filesystem::path FChildTemp;  // the child's TMP and TEMP; empty when it has the player's
  HANDLE FInput = nullptr;     // the child's standard input; closed to cancel
  HANDLE FProgress = nullptr;  // its standard output, read by FReader
  HANDLE FErrors = nullptr;    // its standard error, read by FErrorReader
  std::thread FReader, FErrorReader;
  std::string FErrorText;  // written by FErrorReader, read after it is joined
};
