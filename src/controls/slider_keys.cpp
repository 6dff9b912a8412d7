#include "controls/slider_keys.h"

#include <algorithm>

int32_t SteppedValue(TSliderStep step, int32_t value, int32_t min, int32_t max, int32_t line, int32_t page) {
  const int64_t next = value + StepAmount<int64_t>(step, line, page, int64_t{max} - min);
  return static_cast<int32_t>(std::clamp<int64_t>(next, min, std::max(min, max)));
}

double BarStepSeconds(TSliderStep step, double totalSeconds) {
  // A whole film and a little more, so that the end is reached from its very start.
  return StepAmount(step, kBarLineSeconds, kBarPageSeconds, totalSeconds + kBarPageSeconds);
}
