#include "export_batch.h"

#include <poll.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "export_run.h"
#include "film/ko_error.h"
#include "film/temp_files.h"
#include "interruption.h"
#include "kof_commands.h"
#include "output_claim.h"
#include "output_names.h"
#include "progress_line.h"
#include "video_source.h"

namespace fs = std::filesystem;

namespace {
constexpr int kPollMs = 250;

enum class Outcome { Waiting, Running, Exported, Failed, Skipped, Interrupted };

struct Job {
  fs::path film, out;
  fs::path unpackFolder = {};  // made by the batch for the worker, removed when it ends
  Outcome outcome = Outcome::Waiting;
  double doneSeconds = 0, totalSeconds = 0;  // of film, as its worker last reported
};

// A running worker and the read ends of its two pipes (-1 once they ended): its
// standard error, and its progress reports (ProgressLine::ReportTo).
struct Worker {
  size_t job;
  pid_t pid;
  int messages, progress;
  std::string messageText, progressText;  // the part of a line that has come so far
};

// Reads what the pipe holds and hands on each whole line; at the pipe's end also the
// rest, and closes it (fd becomes -1).
void ReadLines(int& fd, std::string& pending, const std::function<void(const std::string&)>& onLine) {
  char buffer[4096];
  const ssize_t got = ::read(fd, buffer, sizeof(buffer));
  if (got < 0 && errno == EINTR) return;
  if (got > 0) pending.append(buffer, static_cast<size_t>(got));
  for (size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1))
    onLine(pending.substr(0, end));
  if (got > 0) return;
  if (!pending.empty()) onLine(pending);
  pending.clear();
  ::close(fd);
  fd = -1;
}

// The processors this process may run on (taskset, a Slurm allocation), at least 1.
int32_t Processors() {
  cpu_set_t set;
  if (sched_getaffinity(0, sizeof(set), &set) == 0) return std::max(1, CPU_COUNT(&set));
  return std::max<int32_t>(1, int32_t(::sysconf(_SC_NPROCESSORS_ONLN)));
}

bool Ready(const std::vector<pollfd>& polled, int fd) {
  return fd >= 0 && std::any_of(polled.begin(), polled.end(),
                                [fd](const pollfd& p) { return p.fd == fd && p.revents != 0; });
}

class Batch {
public:
  Batch(const FilmBatchWork& work, int32_t atATime)
      : FWork(work), FAtATime(atATime), FShown(::isatty(STDERR_FILENO) == 1),
        FStart(std::chrono::steady_clock::now()) {}

  int Run();

private:
  void PlanJobs();
  void SkipOrRefuse(size_t index);
  void Start(size_t index);
  [[noreturn]] void RunWorker(const Job& job, int messages, int progress);
  void Wait();
  void ReapEnded();
  void Clean(const Job& job, pid_t worker);
  void PassOnSignal();
  void Say(const std::string& line);
  void Fail(size_t index, const std::string& why);
  std::string CannotStart(int error) const {
    return std::string("cannot start its ") + FWork.work + ": " + std::strerror(error);
  }
  void ShowProgress();
  std::string ProgressText(double elapsed) const;
  int Summary();

  const FilmBatchWork& FWork;
  const int32_t FAtATime;
  const bool FShown;  // the progress line, on a terminal
  std::vector<Job> FJobs;
  std::vector<Worker> FWorkers;
  bool FPassedOn = false;
  bool FLineDrawn = false;
  std::chrono::steady_clock::time_point FStart, FLastShown;
};

int Batch::Run() {
  PlanJobs();
  for (size_t next = 0;;) {
    for (; next < FJobs.size() && FWorkers.size() < size_t(FAtATime) && InterruptingSignal() == 0; ++next)
      if (FJobs[next].outcome == Outcome::Waiting) Start(next);
    if (FWorkers.empty()) break;
    PassOnSignal();
    Wait();
    ReapEnded();
    ShowProgress();
  }
  return Summary();
}

// Each film's output. One whose name (in any case) another film of the
// batch writes is refused; one that exists is checked unless forced.
void Batch::PlanJobs() {
  std::map<std::string, size_t> writers;  // by the name as a case-insensitive file system sees it
  for (const fs::path& film : FWork.films) {
    FJobs.push_back({film, FWork.outputOf(film)});
    const size_t index = FJobs.size() - 1;
    const auto [writer, fresh] = writers.emplace(FoldedName(FJobs[index].out.filename().string()), index);
    if (!fresh) {
      const Job& first = FJobs[writer->second];
      Fail(index,
           FJobs[index].out.string() + " is the name of " + first.film.string() + "'s output, " + first.out.string());
    } else if (FWork.keepOutputs) {
      SkipOrRefuse(index);
    }
  }
}

// A video under the film's output name is skipped when made from this film (a batch run
// again), and refused when made from another.
void Batch::SkipOrRefuse(size_t index) {
  Job& job = FJobs[index];
  if (OutputsNamedLike(job.out).empty()) return;
  try {
    const auto holder = HolderOf(job.out, FilmFingerprint(job.film));
    if (!holder) return;
    if (!holder->sameFilm) return Fail(index, HeldByAnotherText(holder->file));
    Say("kof: " + job.film.string() + ": " + holder->file.string() + " exists; skipped (--force overwrites it)");
    job.outcome = Outcome::Skipped;
  } catch (const EkoError& e) {
    Fail(index, e.what());
  }
}

void Batch::Start(size_t index) {
  try {
    FJobs[index].unpackFolder = CreatePlayerTempFolder();
  } catch (const EkoError& e) {
    return Fail(index, e.what());
  }
  int messages[2], progress[2];
  if (::pipe(messages) != 0) return Fail(index, CannotStart(errno));
  if (::pipe(progress) != 0) {
    ::close(messages[0]);
    ::close(messages[1]);
    return Fail(index, CannotStart(errno));
  }
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(messages[0]);
    ::close(progress[0]);
    RunWorker(FJobs[index], messages[1], progress[1]);
  }
  const int forkError = errno;
  ::close(messages[1]);
  ::close(progress[1]);
  if (pid < 0) {
    ::close(messages[0]);
    ::close(progress[0]);
    return Fail(index, CannotStart(forkError));
  }
  FJobs[index].outcome = Outcome::Running;
  FWorkers.push_back({index, pid, messages[0], progress[0], "", ""});
}

// In the worker process: the film's work, its standard error and its progress going
// to the batch. The workers share the processors.
void Batch::RunWorker(const Job& job, int messages, int progress) {
  for (const Worker& other : FWorkers) {
    if (other.messages >= 0) ::close(other.messages);
    if (other.progress >= 0) ::close(other.progress);
  }
  ::dup2(messages, STDERR_FILENO);
  ::close(messages);
  std::signal(SIGPIPE, SIG_IGN);  // a batch that is gone makes writes fail, not the worker end
  ProgressLine::ReportTo(progress);
  const int code = FWork.makeOne(job.film, job.out, job.unpackFolder, std::max<int32_t>(1, Processors() / FAtATime));
  std::fflush(nullptr);
  ::_exit(code);
}

// Until a pipe has something or a quarter of a second passed; a signal ends it early.
void Batch::Wait() {
  std::vector<pollfd> polled;
  for (const Worker& w : FWorkers)
    for (const int fd : {w.messages, w.progress})
      if (fd >= 0) polled.push_back({fd, POLLIN, 0});
  if (::poll(polled.data(), polled.size(), kPollMs) <= 0) return;
  for (Worker& w : FWorkers) {
    Job& job = FJobs[w.job];
    if (Ready(polled, w.messages))
      ReadLines(w.messages, w.messageText, [&](const std::string& line) {
        Say("kof: " + job.film.string() + ": " + (line.starts_with("kof: ") ? line.substr(5) : line));
      });
    if (Ready(polled, w.progress))
      ReadLines(w.progress, w.progressText, [&](const std::string& line) {
        std::sscanf(line.c_str(), "%lf %lf", &job.doneSeconds, &job.totalSeconds);
      });
  }
}

// Workers whose pipes both ended have ended, or are about to.
void Batch::ReapEnded() {
  for (auto w = FWorkers.begin(); w != FWorkers.end();) {
    if (w->messages >= 0 || w->progress >= 0) {
      ++w;
      continue;
    }
    int status = 0;
    while (::waitpid(w->pid, &status, 0) < 0 && errno == EINTR) {
    }
    Job& job = FJobs[w->job];
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
      job.outcome = Outcome::Exported;
    } else if (InterruptingSignal() != 0) {
      job.outcome = Outcome::Interrupted;
    } else {
      job.outcome = Outcome::Failed;
      if (WIFSIGNALED(status))
        Say("kof: " + job.film.string() + ": its " + FWork.work + " ended by signal " +
            std::to_string(WTERMSIG(status)) + " (" + strsignal(WTERMSIG(status)) + ")");
    }
    Clean(job, w->pid);
    w = FWorkers.erase(w);
  }
}

// A worker removes its temporary video and unpacked segments itself, unless something
// ended it at once (SIGKILL, a crash): then the batch, which knows both names, does.
void Batch::Clean(const Job& job, pid_t worker) {
  std::error_code ignored;
  fs::remove(TemporaryOutput(job.out, worker), ignored);
  RemoveTempPath(job.unpackFolder);
}

// A signal that reached the batch alone (kill PID) reaches the workers too; from a
// terminal they had it already, and a second one changes nothing.
void Batch::PassOnSignal() {
  const int signal = InterruptingSignal();
  if (signal == 0 || FPassedOn) return;
  for (const Worker& w : FWorkers) ::kill(w.pid, signal);
  FPassedOn = true;
}

void Batch::Say(const std::string& line) {
  if (FLineDrawn) std::fputs("\r\033[K", stderr);
  FLineDrawn = false;
  std::fprintf(stderr, "%s\n", line.c_str());
}

// A film that fails before its worker runs; the folder made for it goes.
void Batch::Fail(size_t index, const std::string& why) {
  Say("kof: " + FJobs[index].film.string() + ": " + why);
  FJobs[index].outcome = Outcome::Failed;
  RemoveTempPath(FJobs[index].unpackFolder);
}

void Batch::ShowProgress() {
  if (!FShown) return;
  const auto now = std::chrono::steady_clock::now();
  if (FLineDrawn && now - FLastShown < std::chrono::milliseconds(kPollMs)) return;
  FLastShown = now;
  std::fprintf(stderr, "\r%s\033[K", ProgressText(std::chrono::duration<double>(now - FStart).count()).c_str());
  std::fflush(stderr);
  FLineDrawn = true;
}

// "3/40 films, 1 failed, 24.5x real time, 2:10 left": the time left at the speed so
// far, films not started yet taken as long as the average of those whose length is known.
std::string Batch::ProgressText(double elapsed) const {
  size_t finished = 0, failed = 0, toDo = 0, unknown = 0, known = 0;
  double done = 0, left = 0, knownSeconds = 0;
  for (const Job& job : FJobs) {
    if (job.outcome == Outcome::Skipped) continue;
    ++toDo;
    done += job.doneSeconds;
    const bool over = job.outcome == Outcome::Exported || job.outcome == Outcome::Failed;
    finished += over ? 1 : 0;
    failed += job.outcome == Outcome::Failed ? 1 : 0;
    if (job.totalSeconds > 0) {
      ++known;
      knownSeconds += job.totalSeconds;
      if (!over) left += job.totalSeconds - job.doneSeconds;
    } else if (!over) {
      ++unknown;
    }
  }
  const double speed = elapsed > 0 ? done / elapsed : 0;
  if (known > 0) left += double(unknown) * knownSeconds / double(known);
  char text[160];
  std::snprintf(text, sizeof(text), "%zu/%zu films", finished, toDo);
  std::string line = text;
  if (failed > 0) line += ", " + std::to_string(failed) + " failed";
  std::snprintf(text, sizeof(text), ", %.1fx real time, %s left", speed,
                speed > 0 && known > 0 ? ClockText(left / speed).c_str() : "?");
  return line + text;
}

int Batch::Summary() {
  if (FLineDrawn) std::fputs("\r\033[K", stderr);
  FLineDrawn = false;
  size_t exported = 0, skipped = 0;
  std::string failed;
  for (const Job& job : FJobs) {
    exported += job.outcome == Outcome::Exported ? 1 : 0;
    skipped += job.outcome == Outcome::Skipped ? 1 : 0;
    if (job.outcome == Outcome::Failed) failed += (failed.empty() ? "" : ", ") + job.film.string();
  }
  std::string line =
      "kof: " + std::to_string(exported) + " of " + std::to_string(FJobs.size()) + " films " + FWork.made;
  if (skipped > 0) line += ", " + std::to_string(skipped) + " skipped (their outputs exist)";
  if (const int signal = InterruptingSignal(); signal != 0) {
    Say(line + "; interrupted");
    return ExitCodeOfSignal(signal);
  }
  if (!failed.empty()) line += "; failed: " + failed;
  Say(line);
  return failed.empty() ? kExitOk : kExitBadFilm;
}
}  // namespace

int RunFilmBatch(const FilmBatchWork& work) {
  std::vector<fs::path> folders;
  for (const fs::path& film : work.films) {
    const fs::path folder = work.outputOf(film).parent_path();
    if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(folder);
  }
  for (const fs::path& folder : folders) RemoveAbandonedOutputs(folder);
  Batch batch(work, work.jobs > 0 ? work.jobs : Processors());
  return batch.Run();
}

int RunExportBatch(const ExportOptions& options) {
  std::error_code error;
  fs::create_directories(options.outDir, error);
  if (error) {
    std::fprintf(stderr, "kof: cannot create %s: %s\n", options.outDir.c_str(), error.message().c_str());
    return kExitBadFilm;
  }
  FilmBatchWork work;
  work.films = options.films;
  work.jobs = options.jobs;
  work.outputOf = [&](const fs::path& film) {
    return options.outDir / (film.stem().string() + ExtensionOf(options.format));
  };
  work.keepOutputs = !options.force;
  work.makeOne = [&](const fs::path& film, const fs::path& out, const fs::path& folder, int32_t threads) {
    ExportOptions one = options;
    one.films = {film};
    one.out = out;
    one.outDir.clear();
    one.keepOthers = !options.force;
    one.unpackFolder = folder;
    one.threads = threads;
    return ExportFilm(one);
  };
  return RunFilmBatch(work);
}
