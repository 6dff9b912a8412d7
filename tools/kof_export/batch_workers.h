#pragma once
// The worker processes of a batch (export_batch.h): each makes one film's output, and
// its standard error and progress reports (ProgressLine::ReportTo) come back to the
// batch line by line. On POSIX a worker is a fork of the batch; on Windows, which cannot
// fork, kof-export.exe started again as "kof-export worker PROGRESS STOP ARGUMENTS...",
// which RunAsWorker takes.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "kof_common/kof_commands.h"

// What a worker does: run in a fork of the batch (POSIX), or, where processes cannot
// fork (Windows), kof-export's worker command with these arguments, which does the same.
struct WorkerTask {
  std::function<int()> run;
  std::vector<std::string> arguments;
};

struct WorkerEnd {
  size_t job;
  int64_t process;  // its id, which its temporary output's name carries
  bool succeeded;   // it exited with 0
  std::string how;  // how it ended when not by exiting ("ended by signal 9 (Killed)"); or empty
};

class BatchWorkers {
public:
  using LineHandler = std::function<void(size_t job, const std::string& line)>;

  BatchWorkers();
  ~BatchWorkers();
  BatchWorkers(const BatchWorkers&) = delete;
  BatchWorkers& operator=(const BatchWorkers&) = delete;

  // Starts job's worker. Throws EkoError (the reason) when it cannot.
  void Start(size_t job, const WorkerTask& task);
  // Until a worker said something or ms passed (a signal ends it early): hands on each
  // whole line of standard error to onMessage and of progress to onProgress.
  void Wait(int ms, const LineHandler& onMessage, const LineHandler& onProgress);
  // The workers whose output ended, waited for: they have ended.
  std::vector<WorkerEnd> TakeEnded();
  // Passes the signal on to every worker.
  void PassOn(int signal);
  size_t Count() const { return FWorkers.size(); }

private:
  struct Worker;
  std::vector<std::unique_ptr<Worker>> FWorkers;
  struct Shared;
  std::unique_ptr<Shared> FShared;  // what a platform needs across workers
};

// kof-export worker PROGRESS STOP ARGUMENTS... in a worker that a batch started on
// Windows: its progress reports go to the pipe PROGRESS, the event STOP counts as
// Ctrl+C, and work(ARGUMENTS) gives the exit code. Refused where workers are forks.
int RunAsWorker(const Arguments& args, const std::function<int(const Arguments&)>& work);
