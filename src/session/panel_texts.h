#pragma once
// What the bottom panel writes and how far its progress bar reaches, decided without a
// window: the picture-format line, the time line (speed label, position, total), the
// volume label, and the progress bar's segments. Texts are UTF-8.
#include <cstdint>
#include <string>
#include <vector>

// The two values of a segment that give its length: frame count / frame rate seconds.
struct TSegmentTiming {
  int32_t FrameCount = 0;
  uint8_t FramesPerSecond = 0;  // 0: the segment has no length and is left out
};

// The system's separators, as the panel shows numbers and times.
struct TNumberSeparators {
  std::string Decimal = ".";
  std::string Time = ":";
};

// "%d x %d x %d / %d fps".
std::string FormatInfoText(int32_t width, int32_t height, int32_t bitsPerPixel, int32_t framesPerSecond);

// The speed label of a speed slider position (0 .. 8, clamped): "MAX" when its factor is
// above 100, else "x" and the factor with one or two decimals: x0.1, x0.25, x1.0, x10.0.
std::string SpeedLabel(int32_t speedPosition, const std::string& decimalSeparator);

// A time of day given in days as "hh:nn:ss": rounded to whole milliseconds first, the
// fraction of a second then dropped; 24 hours and more wrap round to 00.
std::string FormatClockTime(double days, const std::string& timeSeparator);

struct TTimeLine {
  // Seconds from the film's start to the shown frame.
  float CurrentSeconds = 0;
  double TotalSeconds = 0;
  // speed label, four spaces, position, " | ", total.
  std::string Text;
  // Segments left out of the sums because their frame rate is 0, in film order.
  std::vector<int32_t> RateZeroSegments;
};

// The time line with segment currentIndex current at frame currentFrame (-1 before its
// first frame, which gives the segment's start). The position is the current segment's
// start plus (currentFrame + 1) / currentRate, where currentRate is the rate of the
// segment record the panel shows (nothing is added for 0). Segments with rate 0 are
// left out of every sum and listed instead of failing.
TTimeLine ComputeTimeLine(const std::vector<TSegmentTiming>& segments, int32_t currentIndex, int32_t currentFrame,
                          uint8_t currentRate, int32_t speedPosition, const TNumberSeparators& separators);

// The progress bar's segments: the length of every segment with a frame rate, and for
// each bar segment the index of the film segment it stands for (the two differ once a
// segment with rate 0 has been left out).
struct TProgressSegments {
  std::vector<float> Lengths;
  std::vector<int32_t> SegmentIndexes;
};
TProgressSegments ProgressSegments(const std::vector<TSegmentTiming>& segments);

// The volume label: the percentage rounded, halves to even, then "%".
int32_t VolumeLabelValue(double percent);
std::string VolumeLabel(double percent);
