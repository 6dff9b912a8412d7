#include "controls/slider_keys.h"

#include <algorithm>

int32_t SteppedValue(TSliderStep step, int32_t value, int32_t min, int32_t max, int32_t line, int32_t page) {
  int64_t next = value;
  switch (step) {
    case TSliderStep::kNone: return value;
    case TSliderStep::kLineBack: next -= line; break;
    case TSliderStep::kLineForward: next += line; break;
    case TSliderStep::kPageBack: next -= page; break;
    case TSliderStep::kPageForward: next += page; break;
    case TSliderStep::kToStart: return min;
    case TSliderStep::kToEnd: return max;
  }
  return static_cast<int32_t>(std::clamp<int64_t>(next, min, std::max(min, max)));
}

int32_t StepAmount(TSliderStep step, int32_t line, int32_t page, int32_t whole) {
  switch (step) {
    case TSliderStep::kNone: return 0;
    case TSliderStep::kLineBack: return -line;
    case TSliderStep::kLineForward: return line;
    case TSliderStep::kPageBack: return -page;
    case TSliderStep::kPageForward: return page;
    case TSliderStep::kToStart: return -whole;
    case TSliderStep::kToEnd: return whole;
  }
  return 0;
}

double BarStepSeconds(TSliderStep step, double totalSeconds) {
  // A whole film and a little more, so that the end is reached from its very start.
  const double whole = totalSeconds + kBarPageSeconds;
  switch (step) {
    case TSliderStep::kNone: return 0;
    case TSliderStep::kLineBack: return -kBarLineSeconds;
    case TSliderStep::kLineForward: return kBarLineSeconds;
    case TSliderStep::kPageBack: return -kBarPageSeconds;
    case TSliderStep::kPageForward: return kBarPageSeconds;
    case TSliderStep::kToStart: return -whole;
    case TSliderStep::kToEnd: return whole;
  }
  return 0;
}
