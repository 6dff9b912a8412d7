#pragma once
// kof's and kof-export's arguments after the program's name, as UTF-8, the encoding
// their file names are taken in (std::filesystem, FFmpeg). On Windows they are read
// from the wide command line: the system's code page would lose the letters it lacks.
#include "kof_common/kof_commands.h"

Arguments ProgramArguments(int argc, char** argv);
