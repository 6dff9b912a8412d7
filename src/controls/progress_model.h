#pragma once
// The segmented progress bar (TkoProgressBar) without a window: segment lengths in
// seconds, the position in seconds, and the arithmetic between seconds and pixels. The
// bar's drawing area runs from x = 2 to x = width - 2 (the margin, 2 pixels at 96 DPI,
// is scaled with the screen). Sums of lengths are taken in
// order in 32-bit float precision; roundings go to the nearest integer, halves to even.
#include <cstdint>
#include <vector>

class TProgressModel {
public:
  // Appends a length and returns its index (the number of segments before the call).
  int32_t AddSegment(float length);
  // Forgets the lengths; the position stays as it is.
  void ClearSegments() { FLengths.clear(); }
  int32_t Count() const { return static_cast<int32_t>(FLengths.size()); }
  const std::vector<float>& Lengths() const { return FLengths; }

  // The sum of all lengths; 0 without segments.
  float TotalLength() const;
  // The sum of the lengths before segment index (all of them for an index past the end).
  float SegmentStart(int32_t index) const;

  // The white margin around the drawing area; 2 unless set (a scaled screen).
  void SetMargin(int32_t margin) { FMargin = margin; }
  int32_t Margin() const { return FMargin; }

  float Position() const { return FPosition; }
  // Stores seconds clamped to 0 .. TotalLength().
  void SetPosition(float seconds);

  // The pixel of a time on a bar `width` pixels wide: 2 + (width - 4) x seconds /
  // TotalLength(), rounded (2 being the margin); 0 when the total is 0.
  int32_t ValueToPixel(double seconds, int32_t width) const;
  // The pixels of the marks between segments, one for each segment but the last.
  std::vector<int32_t> MarkPixels(int32_t width) const;

  // The segment a click at x selects (x being the low word of the message's lParam,
  // unsigned): the clicked time t = TotalLength() x (x - 2) / (width - 4) is rounded to
  // whole seconds, and the first segment whose end lies beyond t is taken. So a click a
  // little left of a mark may select the segment right of it (10 s and 45 s on a bar
  // 200 wide: x = 37 gives t = 10, the second segment). Returns -1 when no segment ends
  // beyond t, and for a bar too narrow to have a drawing area.
  int32_t SegmentAtPixel(int32_t x, int32_t width) const;

  // Dragging along the bar: the time under pixel x, not rounded, clamped to
  // 0 .. TotalLength() (0 for a bar too narrow to have a drawing area).
  double TimeAtPixel(int32_t x, int32_t width) const;
  // The segment whose part of the bar holds that time (the last one from its end on)
  // and how far into it the time lies; Segment -1 without segments.
  struct TSegmentTime {
    int32_t Segment = -1;
    double Seconds = 0;
  };
  TSegmentTime SegmentAtTime(double seconds) const;

private:
  float FPosition = 0;
  int32_t FMargin = 2;
  std::vector<float> FLengths;
};
