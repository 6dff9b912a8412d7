#pragma once
// The kof sub-commands. Each takes the arguments after its own name and returns the
// process exit code: 0 success, 1 not a film or damaged beyond use (with a one-line
// reason on stderr), 2 wrong usage.
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <vector>

using Arguments = std::vector<std::string>;

constexpr int kExitOk = 0;
constexpr int kExitBadFilm = 1;
constexpr int kExitUsage = 2;

int RunInfo(const Arguments& args);
int RunExtract(const Arguments& args);
int RunFrames(const Arguments& args);
int RunBench(const Arguments& args);
// kof bench FILM --seek ...: kof_seek_bench.cpp
int RunSeekBench(const Arguments& args);
// kof bench FILM --activity: kof_activity_bench.cpp
int RunActivityBench(const Arguments& args);
int RunPack(const Arguments& args);
// kof texts: kof_texts.cpp
int RunTexts(const Arguments& args);
// The built-in texts of language "ru" or "en" as a language table in the recorder's
// code page; nothing for any other name.
std::optional<std::string> BuiltInLanguageBytes(const std::string& name);
// kof export: kof runs the kof-export program (RunExportProgram), which does the work
// (RunExport) with FFmpeg's libraries.
int RunExportProgram(const Arguments& args);
int RunExport(const Arguments& args);
// kof activity: run in the kof-export program too (RunActivityProgram), which decodes
// the sound with FFmpeg (RunActivity, kof_activity.cpp).
int RunActivityProgram(const Arguments& args);
int RunActivity(const Arguments& args);
// kof index: run in the kof-export program too (RunIndexProgram), the program with the
// heavy libraries, which reads the text with Tesseract (RunIndex, kof_index.cpp).
int RunIndexProgram(const Arguments& args);
int RunIndex(const Arguments& args);
// kof search: kof_search.cpp
int RunSearch(const Arguments& args);

// Runs a command; an exception that escapes it is reported on stderr and exits with 1.
inline int RunReported(int (*run)(const Arguments&), const Arguments& args) {
  try {
    return run(args);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kof: %s\n", e.what());
    return kExitBadFilm;
  }
}
