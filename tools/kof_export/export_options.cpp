#include "kof_export/export_options.h"
#include "kof_common/utf8_path.h"

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

std::optional<ExportFormat> ExportFormatNamed(std::string name) {
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (const ExportFormat format : {ExportFormat::Mp4, ExportFormat::WebM, ExportFormat::Gif, ExportFormat::Mkv})
    if (name == ExtensionOf(format).substr(1)) return format;
  return std::nullopt;
}

std::optional<ExportFormat> ExportFormatOf(const std::filesystem::path& out) {
  const std::string extension = Utf8Of(out.extension());
  if (extension.size() < 2) return std::nullopt;
  return ExportFormatNamed(extension.substr(1));
}

std::string ExtensionOf(ExportFormat format) {
  switch (format) {
    case ExportFormat::Mp4: return ".mp4";
    case ExportFormat::WebM: return ".webm";
    case ExportFormat::Gif: return ".gif";
    case ExportFormat::Mkv: return ".mkv";
  }
  return "";
}

namespace {
constexpr int64_t kLongestIdleUs = int64_t{24} * 3600 * 1000000;

// Takes one option with its value; false when either is wrong or the option is given
// twice where once is all it means.
bool TakeOption(const std::string& option, const std::string& value, ExportOptions& options,
                std::optional<ExportFormat>& named) {
  if (option == "-o" || option == "--out-dir") {
    std::filesystem::path& target = option == "-o" ? options.out : options.outDir;
    if (!target.empty() || value.empty()) return false;
    target = PathOfUtf8(value);
  } else if (option == "--format") {
    named = ExportFormatNamed(value);
    return named.has_value();
  } else if (option == "--segment" || option == "--width" || option == "-j") {
    const auto number = ParsePositive(value);
    if (!number) return false;
    (option == "--segment" ? options.segment : option == "--width" ? options.width : options.jobs) = *number;
  } else if (option == "--skip-idle") {
    const auto time = ParseExportTime(value);
    if (!time || *time <= 0 || *time > kLongestIdleUs) return false;
    options.skipIdleMs = static_cast<int32_t>((*time + 999) / 1000);
  } else if (option == "--from" || option == "--to") {
    const auto time = ParseExportTime(value);
    if (!time) return false;
    if (option == "--from") options.fromUs = *time;
    else options.toUs = *time;
  } else {
    return false;
  }
  return true;
}

// The format, from -o's extension or --format, and whether the options go together.
bool Settle(ExportOptions& options, const std::optional<ExportFormat>& named) {
  if (options.films.empty() || options.out.empty() == options.outDir.empty()) return false;
  if (options.Batch()) {
    if (!named || options.progress) return false;
    options.format = *named;
  } else {
    const auto format = ExportFormatOf(options.out);
    if (options.films.size() > 1 || named || options.jobs != 0 || options.force || !format) return false;
    options.format = *format;
  }
  if (options.lossless && (options.format != ExportFormat::Mkv || options.width != 0)) return false;
  return !options.toUs || *options.toUs > options.fromUs;
}
}  // namespace

std::optional<ExportOptions> ParseExportArguments(const std::vector<std::string>& args) {
  ExportOptions options;
  std::optional<ExportFormat> named;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!arg.starts_with("-")) options.films.push_back(PathOfUtf8(arg));
    else if (arg == "--lossless") options.lossless = true;
    else if (arg == "--force") options.force = true;
    else if (arg == "--progress") options.progress = true;
    else if (i + 1 == args.size() || !TakeOption(arg, args[i + 1], options, named)) return std::nullopt;
    else ++i;
  }
  if (!Settle(options, named)) return std::nullopt;
  return options;
}

namespace {
// Microseconds as seconds with six decimals, a TIME that ParseExportTime reads exactly.
std::string TimeText(int64_t us) {
  std::string fraction = std::to_string(1000000 + us % 1000000).substr(1);
  return std::to_string(us / 1000000) + "." + fraction;
}
}  // namespace

std::vector<std::string> OneFilmArguments(const ExportOptions& options) {
  std::vector<std::string> args{Utf8Of(options.Film()), "-o", Utf8Of(options.out)};
  const auto add = [&](const char* option, const std::string& value) {
    args.push_back(option);
    args.push_back(value);
  };
  if (options.lossless) args.push_back("--lossless");
  if (options.segment != 0) add("--segment", std::to_string(options.segment));
  if (options.fromUs != 0) add("--from", TimeText(options.fromUs));
  if (options.toUs) add("--to", TimeText(*options.toUs));
  if (options.width != 0) add("--width", std::to_string(options.width));
  if (options.skipIdleMs != 0) add("--skip-idle", TimeText(int64_t{options.skipIdleMs} * 1000));
  return args;
}
