#pragma once
// What kof knows about a film: where it was found, its language block and, per index
// entry, the stored header next to what the player's loader made of it.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "film/film_loader.h"
#include "film/segment_list.h"

struct SegmentReport {
  int32_t index = 0;  // 1-based position in the film's index
  uint16_t kind = 0;
  std::optional<TSegmentHeader> header;  // segment entries only; absent outside the file
  const TSegmentInfo* loaded = nullptr;  // the loader's record, when it made one
};

struct FilmReport {
  bool viaTrailer = false;  // found through the trailer, else read from byte 0
  int64_t filmOffset = 0;
  std::string language;     // the language block (only behind a trailer)
  std::vector<std::string> warnings;
  std::vector<SegmentReport> segments;
};

// Loads the film at path into segments (unpacking into tempFolder) and describes it.
// The film is taken through the trailer when that leads to a film (N > 0 and an index
// that fits), else from byte 0. Returns nothing when neither holds a film. Throws
// EkoError when the file cannot be opened.
std::optional<FilmReport> InspectFilm(const std::filesystem::path& path, TSegmentList& segments,
                                      const std::filesystem::path& tempFolder);

// "cab", "lzma" or "none" for the header's packing bits.
const char* PackingName(uint32_t flags);
