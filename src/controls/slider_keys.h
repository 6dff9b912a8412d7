#pragma once
// The keys of a focused slider or progress bar, as steps: Left/Right (and Down/Up) one
// line, Page Down/Page Up one page, Home/End to the ends. The window side maps the
// virtual keys; what a step does to a value is decided here.
#include <cstdint>

enum class TSliderStep : uint8_t { kNone, kLineBack, kLineForward, kPageBack, kPageForward, kToStart, kToEnd };

// The value a step leads to from value on a scale of min .. max, clamped to it: line and
// page are the sizes of the small and the large step. kNone keeps the value.
int32_t SteppedValue(TSliderStep step, int32_t value, int32_t min, int32_t max, int32_t line, int32_t page);

// How far a step moves a value that the owner steps itself: -line / +line, -page /
// +page, -whole / +whole for the ends (a stepping that clamps reaches them), 0 for kNone.
template <typename T>
T StepAmount(TSliderStep step, T line, T page, T whole) {
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

// How far the progress bar's step seeks, in seconds (negative: back): 5 s a line,
// a minute a page, and past the film's start or end for Home and End (the seek clamps
// to its first or last frame); 0 for kNone.
double BarStepSeconds(TSliderStep step, double totalSeconds);
constexpr double kBarLineSeconds = 5;
constexpr double kBarPageSeconds = 60;
