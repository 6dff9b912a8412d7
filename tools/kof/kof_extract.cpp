// kof extract FILM DIR: each playable segment's data file as segNNN.dat and its sound
// as segNNN.mp3 (NNN: the segment's number in the player, from 1), and the language
// block as language.txt.
#include <cstdio>
#include <fstream>
#include <system_error>

#include "kof_common/film_report.h"
#include "kof_common/kof_commands.h"
#include "kof_common/kof_session.h"
#include "kof_common/utf8_path.h"

namespace {
std::string SegmentFileName(int32_t number, const char* extension) {
  char name[32];
  std::snprintf(name, sizeof(name), "seg%03d.%s", number, extension);
  return name;
}

// Copies a file the loader made; false (with a message) when it cannot.
bool CopyOut(const std::filesystem::path& from, const std::filesystem::path& to) {
  std::error_code error;
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error);
  if (error) std::fprintf(stderr, "kof: cannot write %s: %s\n", Utf8Of(to).c_str(), error.message().c_str());
  return !error;
}
}  // namespace

int RunExtract(const Arguments& args) {
  if (args.size() != 2) {
    std::fputs("usage: kof extract FILM DIR\n", stderr);
    return kExitUsage;
  }
  const std::filesystem::path film = PathOfUtf8(args[0]), out = PathOfUtf8(args[1]);
  KofSession session;
  const auto report = InspectFilm(film, session.segments, session.tempFolder);
  if (!report) {
    std::fprintf(stderr, "kof: %s: not a film (no segment index at the start or behind a trailer)\n",
                 Utf8Of(film).c_str());
    return kExitBadFilm;
  }
  std::error_code error;
  std::filesystem::create_directories(out, error);
  if (error) {
    std::fprintf(stderr, "kof: cannot create %s: %s\n", Utf8Of(out).c_str(), error.message().c_str());
    return kExitBadFilm;
  }

  bool complete = true;
  for (int32_t i = 0; i < session.segments.Count(); ++i) {
    const TSegmentInfo* segment = session.segments.Get(i);
    const int32_t number = i + 1;
    if (!segment->DataFilePath.empty()) complete &= CopyOut(segment->DataFilePath, out / SegmentFileName(number, "dat"));
    if (!segment->SoundFilePath.empty())
      complete &= CopyOut(segment->SoundFilePath, out / SegmentFileName(number, "mp3"));
  }
  if (!report->language.empty()) {
    std::ofstream language(out / "language.txt", std::ios::binary);
    language.write(report->language.data(), static_cast<std::streamsize>(report->language.size()));
    complete &= static_cast<bool>(language);
  }
  return complete ? kExitOk : kExitBadFilm;
}
