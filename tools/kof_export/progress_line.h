#pragma once
// kof export's progress on standard error, when that is a terminal: pictures done and
// in all, how many times faster than real time the export runs, and the time left,
// rewritten in place a few times a second. Silent when standard error is not a terminal.
// In a batch each film's worker reports to the batch instead, which shows one line for
// all (export_batch.h).
#include <chrono>
#include <cstdint>
#include <string>

// A time as the line shows it: "4:10", "1:02:03".
std::string ClockText(double seconds);

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

  // From here on every progress line of this process reports to fd: a line
  // "DONE TOTAL" (seconds of film) a few times a second and when the work is done.
  static void ReportTo(int fd);

  // "120/6000 pictures, 23.5x real time, 4:10 left".
  static std::string Text(int64_t done, int64_t total, double speed, double secondsLeft);

private:
  void Report();

  bool FShown;
  int64_t FDone = 0, FTotal;
  double FDoneSeconds = 0, FTotalSeconds;
  std::chrono::steady_clock::time_point FStart, FLastShown;
};
