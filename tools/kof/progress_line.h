#pragma once
// kof export's progress on standard error, when that is a terminal: pictures done and
// in all, how many times faster than real time the export runs, and the time left,
// rewritten in place a few times a second. Silent when standard error is not a terminal.
#include <chrono>
#include <cstdint>
#include <string>

class ProgressLine {
public:
  // totalPictures pictures that play for totalSeconds.
  ProgressLine(int64_t totalPictures, double totalSeconds);
  // Ends the line when it was shown.
  ~ProgressLine();
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  // The work grew (another pass over the film).
  void AddWork(int64_t pictures, double seconds);
  // One more picture done, which plays for seconds.
  void Advance(double seconds);

  // "120/6000 pictures, 23.5x real time, 4:10 left".
  static std::string Text(int64_t done, int64_t total, double speed, double secondsLeft);

private:
  bool FShown;
  int64_t FDone = 0, FTotal;
  double FDoneSeconds = 0, FTotalSeconds;
  std::chrono::steady_clock::time_point FStart, FLastShown;
};
