#include "kof_export/interruption.h"

#include <csignal>
#include <cstdio>
#include <initializer_list>

namespace {
volatile std::sig_atomic_t gSignal = 0;

void Note(int signal) { gSignal = signal; }
}  // namespace

void CatchInterruptions() {
  // Past the file size limit a write then fails and is reported like any other,
  // instead of the signal ending kof with its temporary file left behind.
  std::signal(SIGXFSZ, SIG_IGN);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction action = {};
    sigaction(signal, nullptr, &action);
    if (action.sa_handler == SIG_IGN) continue;
    action = {};
    action.sa_handler = Note;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: a batch's wait for its workers wakes up
    sigaction(signal, &action, nullptr);
  }
}

void NoteInterruption(int signal) { gSignal = signal; }

int InterruptingSignal() { return gSignal; }

void ThrowIfInterrupted() {
  if (const int signal = gSignal; signal != 0) throw ExportInterrupted(signal);
}

void EndBySignal(int signal) {
  std::fflush(nullptr);
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}
