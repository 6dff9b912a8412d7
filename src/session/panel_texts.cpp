#include "session/panel_texts.h"

#include <cmath>
#include <cstdio>

#include "film/round_half_even.h"
#include "playback/clock_timing.h"

namespace {
constexpr double kSecondsPerDay = 86400;
constexpr int64_t kMillisecondsPerDay = 86400000;
constexpr double kMaxShownFactor = 100;

std::string TwoDigits(int64_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", static_cast<int>(value));
  return text;
}

double SegmentSeconds(const TSegmentTiming& segment) {
  return static_cast<double>(segment.FrameCount) / segment.FramesPerSecond;
}
}  // namespace

std::string FormatInfoText(int32_t width, int32_t height, int32_t bitsPerPixel, int32_t framesPerSecond) {
  char text[96];
  std::snprintf(text, sizeof text, "%d x %d x %d / %d fps", static_cast<int>(width), static_cast<int>(height),
                static_cast<int>(bitsPerPixel), static_cast<int>(framesPerSecond));
  return text;
}

// The factors never exceed 100 here, so no thousands separator is ever needed.
std::string SpeedLabel(int32_t speedPosition, const std::string& decimalSeparator) {
  const double factor = SpeedFactor(speedPosition);
  if (factor > kMaxShownFactor) return "MAX";
  char digits[32];
  std::snprintf(digits, sizeof digits, "%.2f", factor);
  std::string text = digits;
  if (text.back() == '0') text.pop_back();  // "0.0#": the second decimal only when it is not 0
  const size_t point = text.find('.');
  std::string label = "x";
  label.append(text, 0, point);
  label += decimalSeparator;
  label.append(text, point + 1);
  return label;
}

std::string FormatClockTime(double days, const std::string& timeSeparator) {
  const double fraction = days - std::floor(days);
  const int64_t ms = RoundHalfEven(fraction * static_cast<double>(kMillisecondsPerDay)) % kMillisecondsPerDay;
  const int64_t seconds = ms / 1000;
  std::string text = TwoDigits(seconds / 3600);
  text += timeSeparator;
  text += TwoDigits(seconds / 60 % 60);
  text += timeSeparator;
  text += TwoDigits(seconds % 60);
  return text;
}

TTimeLine ComputeTimeLine(const std::vector<TSegmentTiming>& segments, int32_t currentIndex, int32_t currentFrame,
                          uint8_t currentRate, int32_t speedPosition, const TNumberSeparators& separators) {
  TTimeLine line;
  double total = 0;
  for (size_t i = 0; i < segments.size(); ++i) {
    if (static_cast<int64_t>(i) == currentIndex) line.CurrentSeconds = static_cast<float>(total);
    if (segments[i].FramesPerSecond == 0) {
      line.RateZeroSegments.push_back(static_cast<int32_t>(i));
      continue;
    }
    total += SegmentSeconds(segments[i]);
  }
  if (!segments.empty() && currentRate != 0)
    line.CurrentSeconds =
        static_cast<float>(line.CurrentSeconds + (static_cast<double>(currentFrame) + 1) / currentRate);
  line.TotalSeconds = total;
  const double position = static_cast<double>(line.CurrentSeconds) * (1 / kSecondsPerDay);
  line.Text = SpeedLabel(speedPosition, separators.Decimal);
  line.Text += "    ";
  line.Text += FormatClockTime(position, separators.Time);
  line.Text += " | ";
  line.Text += FormatClockTime(total * (1 / kSecondsPerDay), separators.Time);
  return line;
}

TProgressSegments ProgressSegments(const std::vector<TSegmentTiming>& segments) {
  TProgressSegments bar;
  for (size_t i = 0; i < segments.size(); ++i) {
    if (segments[i].FramesPerSecond == 0) continue;
    bar.Lengths.push_back(static_cast<float>(SegmentSeconds(segments[i])));
    bar.SegmentIndexes.push_back(static_cast<int32_t>(i));
  }
  return bar;
}

int32_t VolumeLabelValue(double percent) { return static_cast<int32_t>(RoundHalfEven(percent)); }

std::string VolumeLabel(double percent) { return std::to_string(VolumeLabelValue(percent)) + "%"; }
