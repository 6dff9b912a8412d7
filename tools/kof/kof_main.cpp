// kof: inspect roRezodu films from the command line, with the player's own core.
#include <cstdio>
#include <cstring>

#include "kof_commands.h"

namespace {
constexpr const char* kUsage =
    "usage: kof info FILM [--json] [--codepage N]\n"
    "       kof extract FILM DIR\n"
    "       kof frames FILM --segment N --out DIR [--from A] [--to B] [--every K] [--no-cursor]\n"
    "       kof bench FILM [--repeat N]\n"
    "       kof bench FILM --seek [--seeks N] [--budget MIB]\n"
    "       kof pack FILM --player roRezodu.exe [--language FILE|ru|en] -o OUT.exe\n"
    "       kof texts [--language ru|en]\n"
    "       kof export FILM -o OUT.{mp4,webm,gif} [--segment N] [--from TIME] [--to TIME] [--width W]\n";

constexpr const char* kHelp =
    "\n"
    "Segments are numbered from 1, in the order the player lists them (as its /segm N\n"
    "counts them): info lists them so, extract writes seg001.dat and seg001.mp3, and\n"
    "frames takes --segment 1 and writes seg001_frame00000.png. Frames are numbered\n"
    "from 0. Index entries that give no segment (another kind, a later version, a\n"
    "header outside the file) are listed by their index entry number, also from 1.\n"
    "\n"
    "pack writes a film executable: the player, the language table (the file's bytes,\n"
    "8-bit text in the system code page), its length, the film and the film's length.\n"
    "FILM may be a film file, with or without trailer, or another film executable.\n"
    "--language ru or en packs the player's built-in Russian or English texts instead\n"
    "of a file (write ./en for a file of that name).\n"
    "\n"
    "texts writes the built-in texts (Russian unless --language en) as a language\n"
    "table, every key the player looks up, in code page 1251: a template to translate.\n"
    "\n"
    "export turns the film, or part of it, into a video: MP4 (H.264 and AAC), WebM\n"
    "(VP9 and Opus) or GIF (no sound). Pictures follow at the film's rate times its\n"
    "pointer samples per frame; segments are joined, smaller ones letterboxed into the\n"
    "largest. --from and --to count from the start of what is exported (the segment\n"
    "given, else the film): seconds, M:S or H:M:S, each with a fraction if wanted\n"
    "(90, 1:30, 0:01:30.5); a picture is exported when it starts at or after --from and\n"
    "before --to. --width W scales down to W pixels wide, keeping the proportions.\n"
    "A segment that cannot be read is reported and skipped.\n"
    "\n"
    "Exit codes: 0 success, 1 not a film, damaged beyond use or a file that cannot be\n"
    "read or written (reason on stderr), 2 wrong usage.\n";

struct Command {
  const char* name;
  int (*run)(const Arguments&);
};
constexpr Command kCommands[] = {
    {"info", RunInfo}, {"extract", RunExtract}, {"frames", RunFrames}, {"bench", RunBench},
    {"pack", RunPack}, {"export", RunExportProgram}, {"texts", RunTexts}};
}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kUsage, stdout);
    std::fputs(kHelp, stdout);
    return kExitOk;
  }
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return kExitUsage;
  }
  for (const Command& command : kCommands)
    if (std::strcmp(argv[1], command.name) == 0) return RunReported(command.run, Arguments(argv + 2, argv + argc));
  std::fputs(kUsage, stderr);
  return kExitUsage;
}
