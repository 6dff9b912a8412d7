#include "session/video_export.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace {
std::string SecondsText(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", std::max(0.0, seconds));
  return text;
}
}  // namespace

const char* VideoExtension(TVideoFormat format) {
  switch (format) {
    case TVideoFormat::kMp4: return ".mp4";
    case TVideoFormat::kWebM: return ".webm";
    case TVideoFormat::kGif: return ".gif";
    case TVideoFormat::kMkv:
    case TVideoFormat::kLosslessMkv: return ".mkv";
  }
  return ".mp4";
}

std::optional<int32_t> ExportWidth(const TVideoExportChoice& choice, const TVideoExportPlace& place) {
  if (choice.Format == TVideoFormat::kLosslessMkv) return std::nullopt;
  switch (choice.Size) {
    case TVideoSize::kFilmSize: return std::nullopt;
    case TVideoSize::kHalf: return std::max(1, place.Width / 2);
    case TVideoSize::kWidth:
      if (choice.Width < 1 || choice.Width >= place.Width) return std::nullopt;
      return choice.Width;
  }
  return std::nullopt;
}

std::vector<std::string> VideoExportArguments(const TVideoExportChoice& choice, const TVideoExportPlace& place,
                                              const std::string& film, const std::string& out) {
  std::vector<std::string> args{"export", film, "-o", out, "--progress"};
  if (choice.Format == TVideoFormat::kLosslessMkv) args.emplace_back("--lossless");
  if (choice.Range != TVideoRange::kWholeFilm) {
    args.insert(args.end(), {"--segment", std::to_string(place.Segment + 1)});
    if (choice.Range == TVideoRange::kHereToSegmentEnd) args.insert(args.end(), {"--from", SecondsText(place.Seconds)});
  }
  if (const auto width = ExportWidth(choice, place)) args.insert(args.end(), {"--width", std::to_string(*width)});
  return args;
}

std::string ProposedVideoName(const std::string& filmStem, const TVideoExportChoice& choice,
                              const TVideoExportPlace& place) {
  std::string name = filmStem.empty() ? "video" : filmStem;
  if (choice.Range != TVideoRange::kWholeFilm) name += "-seg" + std::to_string(place.Segment + 1);
  return name + VideoExtension(choice.Format);
}

std::optional<double> ReadExportProgress(const std::string& line) {
  std::istringstream in(line);
  double done = 0, total = 0;
  std::string rest;
  if (!(in >> done >> total) || (in >> rest) || !(total > 0) || !(done >= 0)) return std::nullopt;
  return std::min(1.0, done / total);
}

std::optional<double> ExportSecondsLeft(double share, double elapsed) {
  if (!(share > 0) || !(elapsed > 0)) return std::nullopt;
  return elapsed * (1 - std::min(1.0, share)) / share;
}

int32_t ExportPercent(double share) {
  if (!(share > 0)) return 0;
  if (share >= 1) return 100;
  return std::min(99, static_cast<int32_t>(std::floor(share * 100)));
}

std::vector<std::string> ExportWarnings(const std::string& errors) {
  std::vector<std::string> warnings;
  std::istringstream lines(errors);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("kof: ", 0) == 0) line.erase(0, 5);
    if (!line.empty()) warnings.push_back(line);
  }
  return warnings;
}

std::string ExportSavedText(const TUiTexts& texts, const std::string& name, const std::vector<std::string>& warnings) {
  if (warnings.empty()) return texts.Format(TMessageText::kExportSavedFmt, name);
  const TMessageText heading =
      warnings.size() == 1 ? TMessageText::kExportSavedWarningFmt : TMessageText::kExportSavedWarningsFmt;
  std::string text = texts.Format(heading, name);
  for (size_t i = 0; i < std::min(warnings.size(), kShownExportWarnings); ++i) text += "\n" + warnings[i];
  if (warnings.size() > kShownExportWarnings) text += "\n...";
  return text;
}
