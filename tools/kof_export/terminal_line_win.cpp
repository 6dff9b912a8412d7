#include "kof_export/terminal_line.h"

#include <windows.h>

// A console keeps its mode after the program: the sequences stay on, as Windows'
// own terminal programs leave them.
bool StderrTakesProgressLine() {
  const HANDLE console = ::GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (!::GetConsoleMode(console, &mode)) return false;
  return (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0 ||
         ::SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}
