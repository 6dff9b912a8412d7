// kof-export: the program behind `kof export`, and the only one of kof's that loads
// FFmpeg's libraries, so that the other commands start without them. kof runs it in
// its own place (kof_export_exec.cpp) with the arguments after "export".
#include "kof_commands.h"

int main(int argc, char** argv) { return RunReported(RunExport, Arguments(argv + 1, argv + argc)); }
