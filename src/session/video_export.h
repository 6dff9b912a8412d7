#pragma once
// Exporting the film as a video from the player: what the user chose in the export box,
// the command line of kof-export that makes it, the name the Save box proposes, and the
// progress lines kof-export writes back (kof export --progress).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "session/ui_texts.h"

enum class TVideoFormat : uint8_t { kMp4, kWebM, kGif, kMkv, kLosslessMkv };
enum class TVideoRange : uint8_t { kWholeFilm, kThisSegment, kHereToSegmentEnd };
enum class TVideoSize : uint8_t { kFilmSize, kHalf, kWidth };

struct TVideoExportChoice {
  TVideoFormat Format = TVideoFormat::kMp4;
  TVideoRange Range = TVideoRange::kWholeFilm;
  TVideoSize Size = TVideoSize::kFilmSize;
  int32_t Width = 0;  // with kWidth
};

// Where the player is when the user asks: the segment shown (from 0, as the player and
// kof's --segment - 1 count them), the time of its picture and the width of what is
// exported (the segment's for one segment, else the widest segment's).
struct TVideoExportPlace {
  int32_t Segment = 0;
  double Seconds = 0;
  int32_t Width = 0;
};

// ".mp4", ".webm", ".gif" or ".mkv".
const char* VideoExtension(TVideoFormat format);

// The width the video is scaled down to, or none to keep the size: half the place's
// width (at least 1), or the width asked when it is smaller than the place's. A
// lossless video keeps its size.
std::optional<int32_t> ExportWidth(const TVideoExportChoice& choice, const TVideoExportPlace& place);

// kof-export's arguments (after the program's own name) to export film into out as
// chosen, reporting its progress.
std::vector<std::string> VideoExportArguments(const TVideoExportChoice& choice, const TVideoExportPlace& place,
                                              const std::string& film, const std::string& out);

// The file name the Save box proposes: the film's name without its extension, with
// "-segN" when one segment is exported (N from 1), and the format's extension.
std::string ProposedVideoName(const std::string& filmStem, const TVideoExportChoice& choice,
                              const TVideoExportPlace& place);

// One progress line, "DONE TOTAL" in seconds of film: the share done, 0 .. 1; none for
// another line.
std::optional<double> ReadExportProgress(const std::string& line);

// The seconds left when share of the work took elapsed seconds; none before there is
// anything to go by.
std::optional<double> ExportSecondsLeft(double share, double elapsed);

// Whole percent of share, 0 .. 100, never 100 before the end.
int32_t ExportPercent(double share);

// kof-export's warnings, from its standard error after it ended with 0 (a segment
// skipped or cut short): its lines, without kof's "kof: " before them; empty lines
// left out.
std::vector<std::string> ExportWarnings(const std::string& errors);

// The note's text after the video was saved as name: "Saved NAME", or with warnings
// "Saved NAME with a warning:" ("with warnings:") and the first kShownExportWarnings
// of them one a line, then "..." when there are more.
constexpr size_t kShownExportWarnings = 3;
std::string ExportSavedText(const TUiTexts& texts, const std::string& name, const std::vector<std::string>& warnings);

// The export box's labels in the box's order: the format's label, the range's group and
// its three choices, the size's group and its three, Save and Cancel. Each gets an access
// key of its own (access_keys.h).
constexpr TMessageText kExportBoxLabels[] = {
    TMessageText::kExportFormat,   TMessageText::kExportRange,    TMessageText::kExportWholeFilm,
    TMessageText::kExportThisSegment, TMessageText::kExportFromHere, TMessageText::kExportSize,
    TMessageText::kExportFilmSize, TMessageText::kExportHalfSize, TMessageText::kExportWidth,
    TMessageText::kExportSave,     TMessageText::kCancel};
