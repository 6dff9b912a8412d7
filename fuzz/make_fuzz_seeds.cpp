// Writes seed inputs for the fuzz targets: small films in every packing and carrier,
// and cursor records, so fuzzing starts from inputs the loader takes whole.
#include <cstdio>

#include "writer/film_writer.h"

using namespace filmwriter;

int main(int argc, char** argv) {
  if (argc != 3) return std::fprintf(stderr, "usage: make_fuzz_seeds FILM_DIR CURSOR_DIR\n"), 2;
  const std::filesystem::path films = argv[1], cursors = argv[2];
  std::filesystem::create_directories(films);
  std::filesystem::create_directories(cursors);
  for (Packing packing : {Packing::Stored, Packing::MsZip, Packing::Lzx, Packing::Lzma, Packing::LzmaUnknownSize}) {
    std::vector<SegmentSpec> segments(2);
    for (SegmentSpec& spec : segments) {
      spec.data.pictures = {Picture::Filled(5, 3, 0x204060), Picture::Filled(5, 3, 0x204061)};
      spec.data.cursorRecords = {DefaultCursorRecord(), EmptyCursorRecord()};
      spec.sound = Bytes{'I', 'D', '3', 4};
    }
    segments[0].packing = packing;
    segments[1].data.samplesPerFrame = 3;
    const Bytes film = BuildFilm(segments);
    const std::string n = std::to_string(int(packing));
    WriteBytesToFile(films / ("film" + n + ".kof"), film);
    WriteBytesToFile(films / ("trailer" + n + ".kof"), WithTrailer(film));
    WriteBytesToFile(films / ("appended" + n + ".exe"), AppendedFilm(Bytes(16, 'M'), "A=B\r\n", film));
  }
  WriteBytesToFile(cursors / "monochrome", DefaultCursorRecord());
  WriteBytesToFile(cursors / "colour", CursorRecord(ColourCursor(3, 4, 8, 8, std::vector<uint32_t>(64, 0xFF00FF00))));
  WriteBytesToFile(cursors / "mixed", Concat({EmptyCursorRecord(), DefaultCursorRecord(), EmptyCursorRecord()}));
  return 0;
}
