#include "kof_export/export_batch.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "kof_export/export_run.h"
#include "kof_export/batch_workers.h"
#include "kof_export/export_worker.h"
#include "film/ko_error.h"
#include "film/temp_files.h"
#include "kof_export/interruption.h"
#include "kof_common/kof_commands.h"
#include "kof_export/output_claim.h"
#include "kof_export/output_names.h"
#include "platform/export_leftovers.h"
#include "platform/machine_processes.h"
#include "kof_export/progress_line.h"
#include "kof_export/terminal_line.h"
#include "kof_export/video_source.h"
#include "kof_common/utf8_path.h"

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

class Batch {
public:
  Batch(const FilmBatchWork& work, int32_t atATime)
      : FWork(work), FAtATime(atATime), FShown(StderrTakesProgressLine()),
        FStart(std::chrono::steady_clock::now()) {}

  int Run();

private:
  void PlanJobs();
  void SkipOrRefuse(size_t index);
  void Start(size_t index);
  void Wait();
  void ReapEnded();
  void Clean(const Job& job, int64_t worker);
  void PassOnSignal();
  void Say(const std::string& line);
  void Fail(size_t index, const std::string& why);
  void ShowProgress();
  std::string ProgressText(double elapsed) const;
  int Summary();

  const FilmBatchWork& FWork;
  const int32_t FAtATime;
  const bool FShown;  // the progress line, on a terminal
  std::vector<Job> FJobs;
  BatchWorkers FWorkers;
  bool FPassedOn = false;
  bool FLineDrawn = false;
  std::chrono::steady_clock::time_point FStart, FLastShown;
};

int Batch::Run() {
  PlanJobs();
  for (size_t next = 0;;) {
    for (; next < FJobs.size() && FWorkers.Count() < size_t(FAtATime) && InterruptingSignal() == 0; ++next)
      if (FJobs[next].outcome == Outcome::Waiting) Start(next);
    if (FWorkers.Count() == 0) break;
    PassOnSignal();
    Wait();
    ReapEnded();
    ShowProgress();
  }
  return Summary();
}

// Each film's output. One that another film of the batch writes (the same file, named
// in any case) is refused; one that exists is checked unless forced.
void Batch::PlanJobs() {
  std::map<std::string, size_t> writers;  // by the path as a case-insensitive file system sees it
  for (const fs::path& film : FWork.films) {
    FJobs.push_back({film, FWork.outputOf(film)});
    const size_t index = FJobs.size() - 1;
    const auto [writer, fresh] = writers.emplace(FoldedPath(FJobs[index].out), index);
    if (!fresh) {
      const Job& first = FJobs[writer->second];
      Fail(index,
           Utf8Of(FJobs[index].out) + " is the name of " + Utf8Of(first.film) + "'s output, " + Utf8Of(first.out));
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
    Say("kof: " + Utf8Of(job.film) + ": " + Utf8Of(holder->file) + " exists; skipped (--force overwrites it)");
    job.outcome = Outcome::Skipped;
  } catch (const EkoError& e) {
    Fail(index, e.what());
  }
}

// The film's work in a worker of its own. The workers share the processors.
void Batch::Start(size_t index) {
  Job& job = FJobs[index];
  WorkerTask task;
  try {
    job.unpackFolder = CreatePlayerTempFolder();
    const int32_t threads = std::max<int32_t>(1, UsableProcessors() / FAtATime);
    task.run = [this, &job, threads] { return FWork.makeOne(job.film, job.out, job.unpackFolder, threads); };
    if (FWork.workerArguments) task.arguments = FWork.workerArguments(job.film, job.out, job.unpackFolder, threads);
  } catch (const EkoError& e) {
    return Fail(index, e.what());
  }
  try {
    FWorkers.Start(index, task);
  } catch (const EkoError& e) {
    return Fail(index, std::string("cannot start its ") + FWork.work + ": " + e.what());
  }
  job.outcome = Outcome::Running;
}

// Until a worker says something or a quarter of a second passed; a signal ends it early.
void Batch::Wait() {
  FWorkers.Wait(
      kPollMs,
      [&](size_t index, const std::string& line) {
        Say("kof: " + Utf8Of(FJobs[index].film) + ": " + (line.starts_with("kof: ") ? line.substr(5) : line));
      },
      [&](size_t index, const std::string& line) {
        std::sscanf(line.c_str(), "%lf %lf", &FJobs[index].doneSeconds, &FJobs[index].totalSeconds);
      });
}

void Batch::ReapEnded() {
  for (const WorkerEnd& ended : FWorkers.TakeEnded()) {
    Job& job = FJobs[ended.job];
    if (ended.succeeded) {
      job.outcome = Outcome::Exported;
    } else if (InterruptingSignal() != 0) {
      job.outcome = Outcome::Interrupted;
    } else {
      job.outcome = Outcome::Failed;
      if (!ended.how.empty()) Say("kof: " + Utf8Of(job.film) + ": its " + FWork.work + " " + ended.how);
    }
    Clean(job, ended.process);
  }
}

// A worker removes its temporary video and unpacked segments itself, unless something
// ended it at once (SIGKILL, a crash): then the batch, which knows both names, does.
void Batch::Clean(const Job& job, int64_t worker) {
  std::error_code ignored;
  fs::remove(TemporaryOutput(job.out, worker), ignored);
  RemoveTempPath(job.unpackFolder);
}

// A signal that reached the batch alone (kill PID) reaches the workers too; from a
// terminal they had it already, and a second one changes nothing.
void Batch::PassOnSignal() {
  const int signal = InterruptingSignal();
  if (signal == 0 || FPassedOn) return;
  FWorkers.PassOn(signal);
  FPassedOn = true;
}

void Batch::Say(const std::string& line) {
  if (FLineDrawn) std::fputs("\r\033[K", stderr);
  FLineDrawn = false;
  std::fprintf(stderr, "%s\n", line.c_str());
}

// A film that fails before its worker runs; the folder made for it goes.
void Batch::Fail(size_t index, const std::string& why) {
  Say("kof: " + Utf8Of(FJobs[index].film) + ": " + why);
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
    if (job.outcome == Outcome::Failed) failed += (failed.empty() ? "" : ", ") + Utf8Of(job.film);
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
  Batch batch(work, work.jobs > 0 ? work.jobs : UsableProcessors());
  return batch.Run();
}

int RunExportBatch(const ExportOptions& options) {
  std::error_code error;
  fs::create_directories(options.outDir, error);
  if (error) {
    std::fprintf(stderr, "kof: cannot create %s: %s\n", Utf8Of(options.outDir).c_str(), error.message().c_str());
    return kExitBadFilm;
  }
  // One film's export, as its worker runs it.
  const auto oneFilm = [&](const fs::path& film, const fs::path& out, const fs::path& folder, int32_t threads) {
    ExportOptions one = options;
    one.films = {film};
    one.out = out;
    one.outDir.clear();
    one.keepOthers = !options.force;
    one.unpackFolder = folder;
    one.threads = threads;
    return one;
  };
  FilmBatchWork work;
  work.films = options.films;
  work.jobs = options.jobs;
  work.outputOf = [&](const fs::path& film) {
    return options.outDir / PathOfUtf8(Utf8Of(film.stem()) + ExtensionOf(options.format));
  };
  work.keepOutputs = !options.force;
  work.makeOne = [&](const fs::path& film, const fs::path& out, const fs::path& folder, int32_t threads) {
    return ExportFilm(oneFilm(film, out, folder, threads));
  };
  work.workerArguments = [&](const fs::path& film, const fs::path& out, const fs::path& folder, int32_t threads) {
    return ExportWorkerArguments(oneFilm(film, out, folder, threads));
  };
  return RunFilmBatch(work);
}
