#include "kof_export/progress_line.h"

#include <unistd.h>  // write, which MinGW-w64 has too

#include <cmath>
#include <cstdio>

#include "kof_export/terminal_line.h"

namespace {
constexpr auto kInterval = std::chrono::milliseconds(250);
int gReportFd = -1;
}  // namespace

std::string ClockText(double seconds) {
  const long long whole = std::llround(std::max(0.0, seconds));
  char text[32];
  if (whole >= 3600)
    std::snprintf(text, sizeof(text), "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
  else
    std::snprintf(text, sizeof(text), "%lld:%02lld", whole / 60, whole % 60);
  return text;
}

ProgressLine::ProgressLine(int64_t totalPictures, double totalSeconds)
    : FShown(gReportFd < 0 && StderrTakesProgressLine()), FTotal(totalPictures), FTotalSeconds(totalSeconds),
      FStart(std::chrono::steady_clock::now()), FLastShown(FStart) {}

ProgressLine::~ProgressLine() {
  if (FShown && FDone > 0) std::fputc('\n', stderr);
}

void ProgressLine::AddWork(int64_t pictures, double seconds) {
  FTotal += pictures;
  FTotalSeconds += seconds;
}

void ProgressLine::Advance(double seconds) {
  ++FDone;
  FDoneSeconds += seconds;
  if (!FShown && gReportFd < 0) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - FLastShown < kInterval && FDone != FTotal) return;
  FLastShown = now;
  if (gReportFd >= 0) return Report();
  const double elapsed = std::chrono::duration<double>(now - FStart).count();
  const double speed = elapsed > 0 ? FDoneSeconds / elapsed : 0;
  const double left = speed > 0 ? (FTotalSeconds - FDoneSeconds) / speed : 0;
  std::fprintf(stderr, "\r%s\033[K", Text(FDone, FTotal, speed, left).c_str());
  std::fflush(stderr);
}

void ProgressLine::ReportTo(int fd) { gReportFd = fd; }

void ProgressLine::Report() {
  char line[64];
  const int length = std::snprintf(line, sizeof(line), "%.3f %.3f\n", FDoneSeconds, FTotalSeconds);
  // A line is far below PIPE_BUF, so it arrives whole; a parent gone is no reason to stop.
  if (::write(gReportFd, line, static_cast<size_t>(length)) < 0) return;
}

std::string ProgressLine::Text(int64_t done, int64_t total, double speed, double secondsLeft) {
  char text[128];
  std::snprintf(text, sizeof(text), "%lld/%lld pictures, %.1fx real time, %s left", static_cast<long long>(done),
                static_cast<long long>(total), speed, ClockText(secondsLeft).c_str());
  return text;
}
