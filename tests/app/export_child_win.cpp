// A stand-in for kof-export in the video export job's tests, run by them as a child:
// it reports a quarter done, then
//   obedient: stops when its standard input ends, says so on standard error, ends with 3;
//   stubborn [OUT]: never stops on its own; with OUT it first does what kof-export does
//     before it writes: unpacks into a "koP_" folder of its temporary folder and opens
//     OUT's temporary output, and it names that folder in OUT.unpacked;
//   warns: says two warnings on standard error, as kof-export does when it skips a
//     segment and cuts one short, and ends with 0.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "film/temp_files.h"
#include "platform/export_leftovers.h"
#include "platform/wide_text_win.h"

namespace {
void BeginWriting(const std::filesystem::path& out) {
  const std::filesystem::path unpacked = CreatePlayerTempFolder();
  std::ofstream(unpacked / "seg001.dat") << "frames";
  std::ofstream(TemporaryOutput(out, GetCurrentProcessId())) << "part of a video";
  std::ofstream(std::filesystem::path(out.wstring() + L".unpacked")) << WideToUtf8(unpacked.wstring());
}
}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "warns") {
    std::fputs("kof: segment 2: its frame rate is 0; skipped\n", stderr);
    std::fputs("kof: segment 3: a frame record is damaged; the rest of it is skipped (4 of 9 pictures exported)\n",
               stderr);
    return 0;
  }
  if (mode == "stubborn" && argc > 2) BeginWriting(Utf8ToWide(argv[2]));
  std::fputs("1 4\n", stdout);
  std::fflush(stdout);
  if (mode == "stubborn") Sleep(INFINITE);
  while (std::getchar() != EOF) {
  }
  std::fputs("stopped\n", stderr);
  return 3;
}
