// kof: inspect roRezodu films from the command line, with the player's own core.
#include <cstdio>

#include "kof_common/kof_commands.h"
#include "kof_common/program_arguments.h"

namespace {
constexpr const char* kUsage =
    "usage: kof info FILM [--json] [--codepage N]\n"
    "       kof extract FILM DIR\n"
    "       kof frames FILM --segment N --out DIR [--from A] [--to B] [--every K] [--no-cursor]\n"
    "       kof bench FILM [--repeat N]\n"
    "       kof bench FILM --seek [--seeks N] [--budget MIB]\n"
    "       kof bench FILM --activity\n"
    "       kof pack FILM --player roRezodu.exe [--language FILE|ru|en] -o OUT.exe\n"
    "       kof texts [--language ru|en]\n"
    "       kof export FILM -o OUT.{mp4,webm,gif,mkv} [--lossless] [--segment N] [--from TIME] [--to TIME]\n"
    "                  [--width W] [--skip-idle TIME]\n"
    "       kof export FILM... --out-dir DIR --format mp4|webm|gif|mkv [-j N] [--force] [the options above]\n"
    "       kof activity FILM [--json] [--idle SECONDS]\n"
    "       kof index FILM... [-o INDEX] [--languages eng+rus] [-j N]\n"
    "       kof search FILM [--] TEXT [--json]\n";

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
    "export turns the film, or part of it, into a video: MP4 or MKV (H.264 and AAC),\n"
    "WebM (VP9 and Opus) or GIF (no sound); MKV with --lossless keeps every picture and\n"
    "the decoded sound exactly (H.264 in RGB without loss, FLAC). MP4, WebM and MKV\n"
    "have a chapter per segment, named as the segment is, and the film's name as title.\n"
    "Pictures follow at the film's rate times its pointer samples per frame; segments\n"
    "are joined, smaller ones letterboxed into the largest. --from and --to count from\n"
    "the start of what is exported (the segment given, else the film): seconds, M:S or\n"
    "H:M:S, each with a fraction if wanted (90, 1:30, 0:01:30.5); a picture is exported\n"
    "when it starts at or after --from and before --to. --width W scales down to W\n"
    "pixels wide, keeping the proportions. --skip-idle TIME leaves out idle stretches\n"
    "(as activity finds them) of at least TIME but their last half second, sound and\n"
    "chapters cut with the pictures. A segment that cannot be read is reported\n"
    "and skipped. With --out-dir, every FILM goes into DIR named after it, N at a time\n"
    "(-j, default: the processors); outputs that exist are skipped unless --force; a\n"
    "film that fails is reported, the others go on. Ctrl+C leaves no partial file.\n"
    "\n"
    "activity lists each segment's idle stretches, \"idle SEGMENT FROM TO\" in seconds\n"
    "from the segment's start: at least SECONDS (3 unless told) in which no frame\n"
    "changes a pixel, the pointer neither moves nor changes shape and the sound stays\n"
    "below -45 dBFS (RMS in 100 ms windows) or there is none; then a line per second of\n"
    "what happens in it: pixels changed and where, pointer travel and shape changes, the\n"
    "loudest sound. --json gives the same as one JSON object.\n"
    "\n"
    "index reads the text that was on screen (Tesseract, languages as it names them,\n"
    "eng+rus unless told) and writes each film's text index beside it, FILM.words.json\n"
    "(-o names it for one film): every word with its box, segment and the times it\n"
    "came and went. Several films go N at a time (-j) as export's batches do.\n"
    "\n"
    "search finds TEXT in the film's index: letters in any case, whole words or their\n"
    "starts (a path's or an address's parts too), several words in a row on one line;\n"
    "a line per hit: segment, time, the line of text. --json gives objects with\n"
    "segment, time, box and text. After --, a TEXT that starts with -- is searched for.\n"
    "\n"
    "Exit codes: 0 success, 1 not a film, damaged beyond use or a file that cannot be\n"
    "read or written (reason on stderr; for a batch: any film failed), 2 wrong usage,\n"
    "128 + N ended by signal N (130 for Ctrl+C).\n";

struct Command {
  const char* name;
  int (*run)(const Arguments&);
};
constexpr Command kCommands[] = {
    {"info", RunInfo}, {"extract", RunExtract}, {"frames", RunFrames}, {"bench", RunBench},
    {"pack", RunPack}, {"export", RunExportProgram}, {"texts", RunTexts}, {"activity", RunActivityProgram},
    {"index", RunIndexProgram}, {"search", RunSearch}};
}  // namespace

int main(int argc, char** argv) {
  const Arguments args = ProgramArguments(argc, argv);
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::fputs(kUsage, stdout);
    std::fputs(kHelp, stdout);
    return kExitOk;
  }
  if (args.empty()) {
    std::fputs(kUsage, stderr);
    return kExitUsage;
  }
  for (const Command& command : kCommands)
    if (args[0] == command.name) return RunReported(command.run, Arguments(args.begin() + 1, args.end()));
  std::fputs(kUsage, stderr);
  return kExitUsage;
}
