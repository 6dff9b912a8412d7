#pragma once
// Ctrl+C (SIGINT), SIGTERM and SIGHUP end an export between two pictures instead of
// at once, so the files it was writing are removed on the way out (the temporary
// output, the unpacked segments) and no partial file is left.
#include <exception>

struct ExportInterrupted : std::exception {
  explicit ExportInterrupted(int signal) : signal(signal) {}
  const char* what() const noexcept override { return "interrupted"; }
  int signal;
};

// From here on the three signals are noted instead of ending the process; a signal
// ignored when the program started (a job in the background of a script) stays ignored.
void CatchInterruptions();
// The signal noted, or 0.
int InterruptingSignal();
// Throws ExportInterrupted once a signal was noted.
void ThrowIfInterrupted();
// The exit code of a program a signal ended: 128 + its number, as shells report it.
constexpr int ExitCodeOfSignal(int signal) { return 128 + signal; }
