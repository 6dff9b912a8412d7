#include "session/accessible_texts.h"

#include "session/panel_texts.h"

namespace {
constexpr double kSecondsPerDay = 86400;
constexpr char kTimes[] = "\xC3\x97";  // U+00D7 MULTIPLICATION SIGN
}  // namespace

std::string ControlName(const TUiTexts& texts, TMenuText tooltip) {
  const std::string& text = texts.Menu(tooltip);
  return text.empty() ? kMenuTexts[static_cast<size_t>(tooltip)].In(texts.Language()) : text;
}

std::string ButtonWindowText(const std::string& name) {
  std::string text;
  for (const char c : name) {
    text += c;
    if (c == '&') text += '&';
  }
  return text;
}

std::string FillTextSlots(const std::string& format, const std::vector<std::string>& values) {
  std::string text;
  size_t next = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    const char following = i + 1 < format.size() ? format[i + 1] : '\0';
    if (c == '%' && following == 's') {
      if (next < values.size()) text += values[next];
      ++next;
      ++i;
    } else if (c == '%' && following == '%') {
      text += '%';
      ++i;
    } else {
      text += c;
    }
  }
  return text;
}

std::string BarValueText(const TUiTexts& texts, double positionSeconds, double totalSeconds, int32_t segment,
                         int32_t segmentCount, const std::string& timeSeparator) {
  if (segment < 0 || segment >= segmentCount) return {};
  return FillTextSlots(texts.Message(TMessageText::kBarValueFmt),
                       {FormatClockTime(positionSeconds / kSecondsPerDay, timeSeparator),
                        FormatClockTime(totalSeconds / kSecondsPerDay, timeSeparator), std::to_string(segment + 1),
                        std::to_string(segmentCount)});
}

std::string SpeedValueText(int32_t speedPosition, const std::string& decimalSeparator) {
  std::string label = SpeedLabel(speedPosition, decimalSeparator);
  if (!label.empty() && label.front() == 'x') label.replace(0, 1, kTimes);
  return label;
}

std::string VolumeValueText(const TUiTexts& texts, int32_t percent) {
  return FillTextSlots(texts.Message(TMessageText::kVolumeValueFmt), {std::to_string(percent)});
}
