// kof: inspect roRezodu films from the command line, with the player's own core.
#include <cstdio>
#include <cstring>
#include <exception>

#include "kof_commands.h"

namespace {
constexpr const char* kUsage =
    "usage: kof info FILM [--json] [--codepage N]\n"
    "       kof extract FILM DIR\n"
    "       kof frames FILM --segment N --out DIR [--from A] [--to B] [--every K] [--no-cursor]\n"
    "       kof bench FILM [--repeat N]\n";

struct Command {
  const char* name;
  int (*run)(const Arguments&);
};
constexpr Command kCommands[] = {
    {"info", RunInfo}, {"extract", RunExtract}, {"frames", RunFrames}, {"bench", RunBench}};
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return kExitUsage;
  }
  for (const Command& command : kCommands) {
    if (std::strcmp(argv[1], command.name) != 0) continue;
    try {
      return command.run(Arguments(argv + 2, argv + argc));
    } catch (const std::exception& e) {
      std::fprintf(stderr, "kof: %s\n", e.what());
      return kExitBadFilm;
    }
  }
  std::fputs(kUsage, stderr);
  return kExitUsage;
}
