// make_demo_film OUT.kof: writes the demo film that the play command shows when it is
// given none, a short lesson in a text editor (see demo_segments.h).
#include <cstdio>
#include <exception>

#include "demo_segments.h"
#include "writer/film_writer.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: make_demo_film OUT.kof\n", stderr);
    return 2;
  }
  try {
    // With the trailer the file opens both from the Open dialog and from the command line.
    const filmwriter::Bytes film =
        filmwriter::BuildFilm({demo::TypingSegment(), demo::MenuSegment(), demo::CopySegment()});
    filmwriter::WriteBytesToFile(argv[1], filmwriter::WithTrailer(film));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_demo_film: %s\n", e.what());
    return 1;
  }
  return 0;
}
