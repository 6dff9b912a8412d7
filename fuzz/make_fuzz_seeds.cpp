// Writes seed inputs for the fuzz targets: small films in every packing and carrier,
// and cursor records, so fuzzing starts from inputs the loader takes whole.
#include <cstdio>
#include <filesystem>
#include <string>

#include "writer/film_writer.h"

using namespace filmwriter;

namespace {
SegmentSpec SmallSegment(Packing packing, int samplesPerFrame) {
  SegmentSpec spec;
  spec.data.pictures = {Picture::Filled(5, 3, 0x204060), Picture::Filled(5, 3, 0x204061)};
  spec.data.samplesPerFrame = samplesPerFrame;
  spec.data.cursorRecords = {DefaultCursorRecord(), EmptyCursorRecord()};
  spec.packing = packing;
  spec.sound = Bytes{'I', 'D', '3', 4};
  return spec;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_fuzz_seeds FILM_DIR CURSOR_DIR\n");
    return 2;
  }
  const std::filesystem::path films = argv[1], cursors = argv[2];
  std::filesystem::create_directories(films);
  std::filesystem::create_directories(cursors);
  int n = 0;
  for (Packing packing : {Packing::Stored, Packing::MsZip, Packing::Lzx, Packing::Lzma, Packing::LzmaUnknownSize}) {
    const Bytes film = BuildFilm({SmallSegment(packing, 1), SmallSegment(Packing::Stored, 3)});
    WriteBytesToFile(films / ("film" + std::to_string(n) + ".kof"), film);
    WriteBytesToFile(films / ("trailer" + std::to_string(n) + ".kof"), WithTrailer(film));
    WriteBytesToFile(films / ("appended" + std::to_string(n) + ".exe"), AppendedFilm(Bytes(16, 'M'), "A=B\r\n", film));
    ++n;
  }
  WriteBytesToFile(cursors / "monochrome", DefaultCursorRecord());
  WriteBytesToFile(cursors / "colour", CursorRecord(ColourCursor(3, 4, 8, 8, std::vector<uint32_t>(64, 0xFF00FF00))));
  WriteBytesToFile(cursors / "mixed", Concat({EmptyCursorRecord(), DefaultCursorRecord(), EmptyCursorRecord()}));
  return 0;
}
