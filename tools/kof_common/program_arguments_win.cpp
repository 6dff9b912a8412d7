#include "kof_common/program_arguments.h"

#include "kof_common/command_line_win.h"

Arguments ProgramArguments(int, char**) { return Utf8Arguments(); }
