// Fuzzes the film container and the data-file walk: the input is a film file, loaded
// from byte 0 and through its trailer, every frame of every playable segment read.
// Findings: an exception that escapes the loader (damage of any kind stays inside its
// segment; the loader throws only when no temporary file can be made or the cabinet
// library is unusable, which cannot happen here), and anything left in the temporary
// folder after the segment list is cleared.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>

#include "film/film_loader.h"
#include "film/temp_files.h"

namespace {
// The run's temporary folder, removed again when the fuzzer exits.
struct RunFolder {
  std::filesystem::path path = CreatePlayerTempFolder();
  ~RunFolder() { RemovePlayerTempFolder(path); }
} const gFolder;

void ReadEveryFrame(TSegmentList& segments) {
  for (int32_t i = 0; i < segments.Count(); ++i) {
    TSegmentInfo* segment = segments.Get(i);
    const size_t size = segment && segment->Playable() ? FrameBufferSize(segment->Width, segment->Height) : 0;
    std::vector<uint8_t> frame(size <= (64u << 20) ? size : 0);  // a real player would refuse more too
    for (int32_t f = 0; !frame.empty() && f < segment->FrameCount && f < 1000 && LoadFrame(segment, frame).Ok; ++f) {
    }
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::filesystem::path film = gFolder.path.parent_path() / ("fuzz_film_" + std::to_string(getpid()) + ".kof");
  std::ofstream(film, std::ios::binary).write(reinterpret_cast<const char*>(data), std::streamsize(size));
  for (bool appended : {false, true}) {
    TSegmentList segments;
    try {
      TkoFileStream stream(film, kModeReadShared);
      TFilmLoader loader(segments, gFolder.path);
      if (appended ? loader.LoadAppendedFilm(&stream) : loader.LoadFilm(&stream)) ReadEveryFrame(segments);
    } catch (const std::exception& error) {
      std::fprintf(stderr, "the loader let an exception escape: %s\n", error.what());
      std::abort();
    }
    segments.Clear();
    if (!std::filesystem::is_empty(gFolder.path)) {
      std::fprintf(stderr, "temporary files left behind in %s\n", gFolder.path.c_str());
      std::abort();
    }
  }
  std::filesystem::remove(film);
  return 0;
}
