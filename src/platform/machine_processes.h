#pragma once
// This machine and its processes: what an export's unfinished files are named after
// (export_leftovers.h) and what sizes kof's batches (tools/kof_export/export_batch.h).
#include <cstdint>
#include <string>

// The machine's name; "localhost" when it has none.
std::string MachineName();
// This process's id.
int64_t ThisProcessId();
// Whether a process of this machine with that id runs (one of another user counts).
bool ProcessRunning(int64_t id);
// The processors this process may run on (taskset, a Slurm allocation, an affinity
// mask), at least 1.
int32_t UsableProcessors();
