#include "controls/progress_model.h"

#include "film/round_half_even.h"

int32_t TProgressModel::AddSegment(float length) {
  FLengths.push_back(length);
  return Count() - 1;
}

float TProgressModel::TotalLength() const { return SegmentStart(Count()); }

float TProgressModel::SegmentStart(int32_t index) const {
  float sum = 0;
  for (int32_t i = 0; i < index && i < Count(); ++i) sum += FLengths[static_cast<size_t>(i)];
  return sum;
}

void TProgressModel::SetPosition(float seconds) {
  const float total = TotalLength();
  if (seconds > total)
    seconds = total;
  else if (seconds < 0)
    seconds = 0;
  FPosition = seconds;
}

int32_t TProgressModel::ValueToPixel(double seconds, int32_t width) const {
  const float total = TotalLength();
  if (total == 0) return 0;
  return static_cast<int32_t>(RoundHalfEven((static_cast<double>(width) - 2 * FMargin) * seconds / total)) + FMargin;
}

std::vector<int32_t> TProgressModel::MarkPixels(int32_t width) const {
  std::vector<int32_t> marks;
  float sum = 0;
  for (int32_t i = 0; i + 1 < Count(); ++i) {
    sum += FLengths[static_cast<size_t>(i)];
    marks.push_back(ValueToPixel(sum, width));
  }
  return marks;
}

int32_t TProgressModel::SegmentAtPixel(int32_t x, int32_t width) const {
  if (width <= 2 * FMargin) return -1;
  const double clicked = static_cast<double>(TotalLength()) * (static_cast<double>(x) - FMargin) /
                         (static_cast<double>(width) - 2 * FMargin);
  const auto t = static_cast<double>(RoundHalfEven(clicked));
  float sum = 0;
  for (int32_t i = 0; i < Count(); ++i) {
    sum += FLengths[static_cast<size_t>(i)];
    if (t < sum) return i;
  }
  return -1;
}

double TProgressModel::TimeAtPixel(int32_t x, int32_t width) const {
  if (width <= 2 * FMargin) return 0;
  const double total = TotalLength();
  const double time = total * (static_cast<double>(x) - FMargin) / (static_cast<double>(width) - 2 * FMargin);
  return time < 0 ? 0 : time > total ? total : time;
}

TProgressModel::TSegmentTime TProgressModel::SegmentAtTime(double seconds) const {
  float start = 0;
  for (int32_t i = 0; i < Count(); ++i) {
    const float end = start + FLengths[static_cast<size_t>(i)];
    if (seconds < end || i + 1 == Count()) return {i, seconds < start ? 0.0 : seconds - start};
    start = end;
  }
  return {};
}
