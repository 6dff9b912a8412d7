#pragma once
// kof export FILM... --out-dir DIR --format F: every film into DIR, named after it
// (lesson.kof gives DIR/lesson.mp4), N at a time. Each film is exported by a worker
// process of its own, so a film that fails, however badly, ends only its own export;
// the others go on. The workers' messages come out prefixed with their film, and on a
// terminal one progress line covers them all.
//
// A film whose video is in DIR already is skipped; a film whose output name another
// film's video holds, or another film of the batch would write, fails (output_claim.h).
// --force writes over what is there. A signal (Ctrl+C) is passed on to the workers,
// which remove what they were writing; no new film is started. A worker that ends
// otherwise than by exiting (SIGKILL, a crash, the out-of-memory killer) has its
// temporary video and unpacked segments removed by the batch; a batch that was itself
// killed leaves them to the next run (platform/export_leftovers.h). The workers are forks
// on POSIX, and kof-export.exe run again on Windows (batch_workers.h).
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "kof_export/export_options.h"

// What a batch does with each film; kof index runs its batches here too.
struct FilmBatchWork {
  std::vector<std::filesystem::path> films;
  int32_t jobs = 0;  // films at a time; 0: as many as processors
  // Where the film's output goes.
  std::function<std::filesystem::path(const std::filesystem::path& film)> outputOf;
  // Skip an output made from the same film, refuse one made from another, unless forced
  // (kof export's videos record their film); false writes over whatever is there.
  bool keepOutputs = false;
  // In the worker: makes out from film, unpacking into folder, with threads threads;
  // writes through TemporaryOutput(out, its process) and returns the exit code.
  std::function<int(const std::filesystem::path& film, const std::filesystem::path& out,
                    const std::filesystem::path& folder, int32_t threads)>
      makeOne;
  // Where processes cannot fork (Windows), the worker is kof-export's worker command
  // instead: its arguments that make out from film as makeOne would
  // (ExportWorkerArguments). Without it such a system runs no batch of this work.
  std::function<std::vector<std::string>(const std::filesystem::path& film, const std::filesystem::path& out,
                                         const std::filesystem::path& folder, int32_t threads)>
      workerArguments;
  const char* made = "exported";  // in the summary: "3 of 4 films exported"
  const char* work = "export";    // "its export ended by signal 9"
};

// Returns the exit code as RunExportBatch does.
int RunFilmBatch(const FilmBatchWork& work);

// Returns the exit code: 0 when every film was exported or skipped, 1 when any failed,
// 128 + the signal when interrupted (RunExport then ends by the signal). Ends with a
// summary line on standard error.
int RunExportBatch(const ExportOptions& options);
