#include "program_arguments.h"

#include "command_line_win.h"

Arguments ProgramArguments(int, char**) { return Utf8Arguments(); }
