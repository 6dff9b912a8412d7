#include "kof_export/interruption.h"

#include <windows.h>

#include <atomic>
#include <csignal>
#include <cstdio>

namespace {
// A closed console window ends the process as soon as the handler returns; this is
// the time the export gets to remove its files first (Windows allows five seconds).
constexpr DWORD kCloseGraceMs = 4000;

std::atomic<int> gSignal{0};

// Called on a thread of its own: notes the event for the export, which checks between
// two pictures.
BOOL WINAPI Note(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT: gSignal = SIGINT; return TRUE;
    case CTRL_CLOSE_EVENT:
      gSignal = SIGTERM;
      ::Sleep(kCloseGraceMs);
      return TRUE;
    default: return FALSE;
  }
}
}  // namespace

void CatchInterruptions() { ::SetConsoleCtrlHandler(Note, TRUE); }

void NoteInterruption(int signal) { gSignal = signal; }

int InterruptingSignal() { return gSignal; }

void ThrowIfInterrupted() {
  if (const int signal = gSignal; signal != 0) throw ExportInterrupted(signal);
}

void EndBySignal(int) { std::fflush(nullptr); }
