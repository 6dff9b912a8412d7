#pragma once
// kof export's command line: FILM -o OUT.{mp4,webm,gif} [--segment N] [--from TIME]
// [--to TIME] [--width W].
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

enum class ExportFormat { Mp4, WebM, Gif };

struct ExportOptions {
  std::filesystem::path film, out;
  ExportFormat format = ExportFormat::Mp4;
  int32_t segment = 0;  // from 1; 0 exports every segment
  // Microseconds from the start of what is exported (the segment asked for, else the
  // film); a picture is exported when from <= its start < to.
  int64_t fromUs = 0;
  std::optional<int64_t> toUs;
  int32_t width = 0;  // 0 keeps the size; otherwise scale down (never up) to this width
};

// A time as [[H:]M:]S[.fraction]: "90", "1:30" and "00:01:30" are all 90 s, "1:30.5"
// is 90.5 s. Fields after the first are below 60; up to 6 fractional digits. Returns
// microseconds, or nothing for any other text.
std::optional<int64_t> ParseExportTime(const std::string& text);

// The format named by the file's extension (.mp4, .webm, .gif, in any case), or nothing.
std::optional<ExportFormat> ExportFormatOf(const std::filesystem::path& out);

// The options, or nothing when the command line is wrong: an unknown option, a
// missing FILM or -o, an extension other than the three, a segment or width below 1,
// or a range that ends before it starts.
std::optional<ExportOptions> ParseExportArguments(const std::vector<std::string>& args);
