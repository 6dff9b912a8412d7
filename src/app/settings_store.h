#pragma once
// The player's one settings file per user: what the player remembers between runs
// (where each film was left), kept as a small versioned text:
//
//   roRezodu settings 1
//   resume=SIZE WRITETIME SEGMENT FRAME PATH     (one line a film, the latest first)
//   KEY=VALUE                                    (single settings, one line each)
//
// Reading is tolerant: a line it cannot take is left out; only a file that is not a
// settings file of this version at all (another first line, too large) counts as
// damaged, and is then read as empty and rewritten whole. Writing goes to a temporary
// name beside the file and is renamed over it, so the file is always whole. Paths are
// UTF-8; numbers are decimal.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "playback/seek_target.h"

// What tells a film from any other: its full path, its size and its last-write time (in
// the file system's own units). A film whose file changed is another film.
struct TFilmIdentity {
  std::string Path;
  int64_t Size = 0;
  int64_t WriteTime = 0;
  bool operator==(const TFilmIdentity&) const = default;
};

class TSettingsStore {
public:
  static constexpr size_t kMaxResumeFilms = 200;
  // A larger file is not one the player wrote.
  static constexpr size_t kMaxFileBytes = size_t{1} << 20;
  static constexpr std::string_view kFirstLine = "roRezodu settings 1";

  // Takes the text of a settings file. Returns false, leaving the store empty, when the
  // text is not one (its first line differs, or it is larger than kMaxFileBytes). Lines
  // that cannot be read are left out; so are resume lines beyond kMaxResumeFilms.
  bool Parse(std::string_view text);
  // The file's text: the first line, the single values, then the resume lines.
  std::string Text() const;

  // A single setting; "" when it is not set. Keys are plain words (no "=", no line
  // breaks); SetValue ignores any other key and, like it, values with line breaks.
  std::string Value(std::string_view key) const;
  void SetValue(const std::string& key, const std::string& value);

  // Where film was left, when it is remembered (path, size and write time all agree).
  std::optional<TFilmFrame> ResumePlace(const TFilmIdentity& film) const;
  // Remembers place for film as the latest entry; an older entry of the same path goes,
  // and so does the oldest one beyond kMaxResumeFilms. A path with a line break, or a
  // place with a negative segment or frame, is not remembered.
  void RememberPlace(const TFilmIdentity& film, TFilmFrame place);
  // Forgets every entry of film's path.
  void ForgetPlace(const TFilmIdentity& film);
  size_t ResumeCount() const { return FResume.size(); }

private:
  struct TResumeEntry {
    TFilmIdentity Film;
    TFilmFrame Place;
  };
  bool ParseResume(std::string_view value);

  std::vector<std::pair<std::string, std::string>> FValues;
  std::vector<TResumeEntry> FResume;  // the latest first
};

// Reads the file at path. Returns false, the store then empty, when it is missing,
// cannot be read or is damaged (see Parse).
bool LoadSettings(const std::filesystem::path& path, TSettingsStore& store);
// Writes store to path through a temporary file beside it, renamed over it when whole.
// Returns false when that fails (the folder cannot be written, the disk is full); the
// file is then as it was and no temporary file is left.
bool SaveSettings(const std::filesystem::path& path, const TSettingsStore& store);
