#include "export_options.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace {
// A whole decimal number of at most maxDigits digits.
std::optional<int64_t> ParseDigits(const std::string& text, size_t maxDigits) {
  if (text.empty() || text.size() > maxDigits) return std::nullopt;
  int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::vector<std::string> SplitFields(const std::string& text) {
  std::vector<std::string> fields(1);
  for (const char c : text) {
    if (c == ':') fields.emplace_back();
    else fields.back().push_back(c);
  }
  return fields;
}

std::optional<int32_t> ParsePositive(const std::string& text) {
  const auto value = ParseDigits(text, 9);
  if (!value || *value < 1) return std::nullopt;
  return static_cast<int32_t>(*value);
}
}  // namespace

std::optional<int64_t> ParseExportTime(const std::string& text) {
  const std::vector<std::string> fields = SplitFields(text);
  if (fields.size() > 3) return std::nullopt;
  std::string seconds = fields.back();
  int64_t fraction = 0;
  if (const size_t dot = seconds.find('.'); dot != std::string::npos) {
    std::string digits = seconds.substr(dot + 1);
    if (digits.empty() || digits.size() > 6) return std::nullopt;
    const auto value = ParseDigits(digits, 6);
    if (!value) return std::nullopt;
    fraction = *value;
    for (size_t i = digits.size(); i < 6; ++i) fraction *= 10;
    seconds.resize(dot);
  }
  int64_t total = 0;
  for (size_t i = 0; i < fields.size(); ++i) {
    const bool first = i == 0;
    const auto value = ParseDigits(i + 1 == fields.size() ? seconds : fields[i], first ? 9 : 2);
    if (!value || (!first && *value >= 60)) return std::nullopt;
    total = total * 60 + *value;
  }
  return total * 1000000 + fraction;
}

std::optional<ExportFormat> ExportFormatOf(const std::filesystem::path& out) {
  std::string extension = out.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".mp4") return ExportFormat::Mp4;
  if (extension == ".webm") return ExportFormat::WebM;
  if (extension == ".gif") return ExportFormat::Gif;
  return std::nullopt;
}

std::optional<ExportOptions> ParseExportArguments(const std::vector<std::string>& args) {
  ExportOptions options;
  bool haveFilm = false, haveOut = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!arg.starts_with("-")) {
      if (haveFilm) return std::nullopt;
      options.film = arg;
      haveFilm = true;
      continue;
    }
    if (i + 1 == args.size()) return std::nullopt;
    const std::string& value = args[++i];
    if (arg == "-o" && !haveOut) {
      options.out = value;
      haveOut = true;
    } else if (arg == "--segment" || arg == "--width") {
      const auto number = ParsePositive(value);
      if (!number) return std::nullopt;
      (arg == "--segment" ? options.segment : options.width) = *number;
    } else if (arg == "--from" || arg == "--to") {
      const auto time = ParseExportTime(value);
      if (!time) return std::nullopt;
      if (arg == "--from") options.fromUs = *time;
      else options.toUs = *time;
    } else {
      return std::nullopt;
    }
  }
  if (!haveFilm || !haveOut) return std::nullopt;
  const auto format = ExportFormatOf(options.out);
  if (!format || (options.toUs && *options.toUs <= options.fromUs)) return std::nullopt;
  options.format = *format;
  return options;
}
