#pragma once
// One film of an export batch in a worker process of its own where processes cannot
// fork (Windows): the batch gives kof-export's worker command these arguments
// (batch_workers.h), and the worker exports the film from them.
#include <string>
#include <vector>

#include "kof_export/export_options.h"
#include "kof_common/kof_commands.h"

// export THREADS KEEP UNPACK FILM -o OUT [OPTIONS]: what ExportFilm(one) does, where
// one has one film, its out, its unpack folder, threads and keepOthers.
std::vector<std::string> ExportWorkerArguments(const ExportOptions& one);

// kof-export worker PROGRESS STOP export ...: the export ExportWorkerArguments named.
int RunExportWorker(const Arguments& args);
