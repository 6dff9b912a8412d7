#pragma once
// One way to read a film file, whatever door the film comes in by. The doors differ
// only where FilmDoorRule says, and every player reads through ReadFilm.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "film/ko_stream.h"
#include "film/segment_list.h"

enum class TFilmDoor {
  kStartup,  // the film named on the command line, or the program's own file
  kChosen,   // File > Open, or a file dropped on the window
  kPage,     // a film given to the page (a film file or a film executable)
};

struct TFilmDoorRule {
  uint16_t OpenMode = kModeReadShared;  // how the file is shared while it is read
  bool ThroughTrailer = false;          // the film may lie behind other bytes, found by the trailer
  bool FromFirstByte = false;           // the film may begin at byte 0
  bool TitleNamesFilm = false;          // the window's title names the film's file
  bool NeedsSegments = false;           // a file with nothing to play is not kept open
};
TFilmDoorRule FilmDoorRule(TFilmDoor door);

// The file opened as the door shares it; nullptr when it cannot be opened.
std::unique_ptr<TkoFileStream> OpenFilmFile(const std::filesystem::path& path, TFilmDoor door);

// What reading a film gave. The players show Error, then Warning, then Damage.
struct TFilmReading {
  bool Loaded = false;  // a film's index was found and walked
  std::string Error;    // reading stopped on it (a temporary file not made); the segments read stay
  std::string Warning;  // the version warnings, run together
  std::vector<std::string> Damage;  // one line a damaged part
  // Something to play: a film was found, or reading stopped after some of its segments.
  bool HasSegments = false;
};

// Empties the list and reads into it the film the door finds in the file, unpacking into
// tempFolder; invalidVersionFormat words the version warning.
TFilmReading ReadFilm(TkoFileStream& file, TFilmDoor door, TSegmentList& segments,
                      const std::filesystem::path& tempFolder, const std::string& invalidVersionFormat);
