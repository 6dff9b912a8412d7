#include "kof_export/interruption.h"

#include <csignal>
#include <cstdio>
#include <thread>

void InterruptWhenInputEnds() {
  std::thread([] {
    char buffer[256];
    while (std::fread(buffer, 1, sizeof(buffer), stdin) > 0) {
    }
    NoteInterruption(SIGTERM);
  }).detach();
}
