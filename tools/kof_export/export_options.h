#pragma once
// kof export's command line. One film: FILM -o OUT.{mp4,webm,gif,mkv}; many:
// FILM... --out-dir DIR --format mp4|webm|gif|mkv [-j N] [--force]. Either takes
// [--lossless] (.mkv only) [--segment N] [--from TIME] [--to TIME] [--width W]
// [--skip-idle TIME]; one film also [--progress].
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

enum class ExportFormat { Mp4, WebM, Gif, Mkv };

struct ExportOptions {
  std::vector<std::filesystem::path> films;  // one with -o
  std::filesystem::path out;                 // -o OUT; in a batch, each film's own
  std::filesystem::path outDir;              // --out-dir DIR: a batch
  ExportFormat format = ExportFormat::Mp4;
  bool lossless = false;  // every picture and the decoded sound exactly (.mkv)
  bool force = false;     // a batch overwrites outputs that exist
  int32_t jobs = 0;       // films exported at a time; 0: as many as processors
  int32_t threads = 0;    // each encoder's threads; 0: as many as processors
  int32_t segment = 0;  // from 1; 0 exports every segment
  // Microseconds from the start of what is exported (the segment asked for, else the
  // film); a picture is exported when from <= its start < to.
  int64_t fromUs = 0;
  std::optional<int64_t> toUs;
  int32_t width = 0;  // 0 keeps the size; otherwise scale down (never up) to this width
  // Idle stretches at least this long are left out (export_plan.h); 0 keeps them.
  int32_t skipIdleMs = 0;
  // Run by another program for its user (the player's export): progress as lines on
  // standard output, and the end of standard input asks the export to stop.
  bool progress = false;
  // Set for each film by the export itself, not from the command line:
  std::string source;                  // the film's fingerprint (video_source.h)
  bool keepOthers = false;             // OUT is not written over another film's video (a batch without --force)
  std::filesystem::path unpackFolder;  // where the film is unpacked; empty: a new temporary folder

  bool Batch() const { return !outDir.empty(); }
  const std::filesystem::path& Film() const { return films.front(); }
};

// A time as [[H:]M:]S[.fraction]: "90", "1:30" and "00:01:30" are all 90 s, "1:30.5"
// is 90.5 s. Fields after the first are below 60; up to 6 fractional digits. Returns
// microseconds, or nothing for any other text.
std::optional<int64_t> ParseExportTime(const std::string& text);

// The format named ("mp4", "webm", "gif", "mkv", in any case), or nothing.
std::optional<ExportFormat> ExportFormatNamed(std::string name);
// The format named by the file's extension (.mp4, ...), or nothing.
std::optional<ExportFormat> ExportFormatOf(const std::filesystem::path& out);
// ".mp4", ".webm", ".gif" or ".mkv".
std::string ExtensionOf(ExportFormat format);

// The command line of the one film's export that ParseExportArguments reads back as
// options: FILM -o OUT and the options of what is exported (a batch's worker's).
std::vector<std::string> OneFilmArguments(const ExportOptions& options);

// The options, or nothing when the command line is wrong: an unknown option, no FILM,
// neither or both of -o and --out-dir, more than one FILM, --format, -j or --force
// with -o, --progress with --out-dir, --out-dir without --format, an unknown format, --lossless but for .mkv or
// with --width, a segment, width or job count below 1, a --skip-idle length that is
// not a TIME above 0 and at most a day, or a range that ends before it starts.
std::optional<ExportOptions> ParseExportArguments(const std::vector<std::string>& args);
