#include "kof_common/program_arguments.h"

Arguments ProgramArguments(int argc, char** argv) { return Arguments(argv + (argc > 0 ? 1 : 0), argv + argc); }
