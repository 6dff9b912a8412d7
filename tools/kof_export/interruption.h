#pragma once
// Ctrl+C (SIGINT), SIGTERM and SIGHUP end an export between two pictures instead of
// at once, so the files it was writing are removed on the way out (the temporary
// output, the unpacked segments) and no partial file is left. Then the process ends by
// the signal after all, as a program without a handler would: a shell stops a loop
// over kof export only when the command it waited for died of SIGINT.
//
// On Windows Ctrl+C and Ctrl+Break (a console's, or a batch's passed on to its workers)
// count as SIGINT and a closed console window as SIGTERM; no signal ends a process
// there, so it exits with ExitCodeOfSignal instead.
#include <exception>

struct ExportInterrupted : std::exception {
  explicit ExportInterrupted(int signal) : signal(signal) {}
  const char* what() const noexcept override { return "interrupted"; }
  int signal;
};

// From here on the three signals are noted instead of ending the process; a signal
// ignored when the program started (a job in the background of a script) stays ignored.
void CatchInterruptions();
// From here on the end of standard input (the program that started this one closed it,
// or ended) counts as SIGTERM: that program's way to stop an export cleanly.
void InterruptWhenInputEnds();
// Notes the signal as if it had come (a batch's worker on Windows, told by its batch).
void NoteInterruption(int signal);
// The signal noted, or 0.
int InterruptingSignal();
// Throws ExportInterrupted once a signal was noted.
void ThrowIfInterrupted();
// Ends the process by the signal with its default action, standard streams flushed.
// Returns only when the signal is blocked, and on Windows always.
void EndBySignal(int signal);
// The exit code of a program a signal ended: 128 + its number, as shells report it.
constexpr int ExitCodeOfSignal(int signal) { return 128 + signal; }
