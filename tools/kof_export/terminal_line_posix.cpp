#include "kof_export/terminal_line.h"

#include <unistd.h>

bool StderrTakesProgressLine() { return ::isatty(STDERR_FILENO) == 1; }
