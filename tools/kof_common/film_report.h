#pragma once
// What kof knows about a film: where it was found, its language block and, per index
// entry, the stored header next to what the player's loader made of it.
//
// Segments are numbered from 1 in the order of the player's list, as its "/segm N"
// counts them; index entries are numbered from 1 too. Entries of another kind, of a
// later version or whose header lies outside the file give no segment.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "film/film_loader.h"
#include "film/segment_list.h"
#include "playback/headless_player.h"  // WhyNotDrawable

struct EntryReport {
  int32_t entry = 0;    // position in the film's index, from 1
  int32_t segment = 0;  // number in the player's list, from 1; 0 when the entry gives none
  uint16_t kind = 0;
  std::optional<TSegmentHeader> header;  // segment entries only; absent outside the file
  const TSegmentInfo* loaded = nullptr;  // the loader's record, when it made one
};

struct FilmReport {
  std::filesystem::path path;
  bool viaTrailer = false;  // found through the trailer, else read from byte 0
  int64_t filmOffset = 0;
  std::string language;     // the language block (only behind a trailer)
  std::vector<std::string> warnings;
  int64_t entryCount = 0;   // index entries the file holds
};

// Where a file's film lies: bytes [offset, offset + length).
struct FilmPlace {
  bool viaTrailer = false;  // found through the trailer, else read from byte 0
  int64_t offset = 0;
  int64_t length = 0;       // behind a trailer the trailer's X; from byte 0 the whole file
};

// The film in the file behind stream, as the player would find it: through the
// trailer when that leads to a film (N > 0 and an index that fits), else from byte 0.
// Returns nothing when neither holds a film.
std::optional<FilmPlace> LocateFilm(TkoStream& stream);

// Loads the film at path into segments (unpacking into tempFolder) and describes it.
// The film is found as LocateFilm finds it. Returns nothing when the file holds no film. Throws
// EkoError when the file cannot be opened.
std::optional<FilmReport> InspectFilm(const std::filesystem::path& path, TSegmentList& segments,
                                      const std::filesystem::path& tempFolder);

// Reads the film's index once more and hands each entry, paired with the segment the
// loader made for it, to visit, in index order; only one entry is held at a time.
void ForEachEntry(const FilmReport& report, const TSegmentList& segments,
                  const std::function<void(const EntryReport&)>& visit);

// Why the entry gives no segment, or what is damaged in its segment; "" when nothing.
std::string EntryProblem(const EntryReport& entry);

// "cab", "lzma" or "none" for the header's packing bits.
const char* PackingName(uint32_t flags);
