#pragma once
// The player's one settings file per user: what the player remembers between runs
// (where each film was left, the language), kept as a small versioned text:
//
//   roRezodu settings 1
//   KEY=VALUE                                        (single settings, one line each)
//   ...                                              (lines not understood, as they were)
//   place=SAVED SIZE WRITETIME SEGMENT FRAME PATH    (one line a film, the latest first)
//
// SAVED is when the place was taken, in milliseconds since 1970 (UTC): when two players
// write, the newer place of a film wins. Lines "resume=SIZE WRITETIME SEGMENT FRAME
// PATH", from files of earlier builds, are read as places older than any other.
//
// Reading is tolerant: a UTF-8 byte-order mark is skipped, and a line that cannot be
// taken is kept as it is, to be written back. A text that is not a settings file at all
// is damaged; one of a later version ("roRezodu settings 2" and up) is not read, since
// what it means is not known here. Writing keeps the text within the reader's limit,
// the oldest places going first. Paths are UTF-8; numbers are decimal.
#include <cstddef>
#include <cstdint>
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

// What a text turned out to be.
enum class TSettingsText : uint8_t {
  kSettings,      // a settings file of this version, or an empty text
  kLaterVersion,  // "roRezodu settings N" with N above 1: not read
  kDamaged,       // anything else
};

class TSettingsStore {
public:
  static constexpr size_t kMaxResumeFilms = 200;
  // The reader takes no more of a file than this, and the writer writes no more.
  static constexpr size_t kMaxFileBytes = size_t{1} << 20;
  static constexpr std::string_view kFirstLine = "roRezodu settings 1";

  // Takes the text of a settings file. Anything but kSettings leaves the store empty.
  // Of a text over kMaxFileBytes the whole lines within them are read. Of the places the
  // kMaxResumeFilms latest are kept; of a key or a path repeated, the first line.
  TSettingsText Parse(std::string_view text);
  // The file's text: the first line, the single values, the lines not understood, then
  // the places, the latest first; the oldest places (then the last lines not
  // understood) left out as far as needed to stay within kMaxFileBytes.
  std::string Text() const;

  // A single setting; "" when it is not set. Keys are plain words (no "=", no line
  // breaks, neither "place" nor "resume"); SetValue ignores any other key and values
  // with line breaks.
  std::string Value(std::string_view key) const;
  void SetValue(const std::string& key, const std::string& value);

  // Where film was left, when it is remembered (path, size and write time all agree).
  std::optional<TFilmFrame> ResumePlace(const TFilmIdentity& film) const;
  // Remembers place for film, taken at savedMs, unless its path has a place taken later;
  // an older place of the same path goes, and so does the oldest one beyond
  // kMaxResumeFilms. A path with a line break, or a place with a negative segment or
  // frame, is not remembered.
  void RememberPlace(const TFilmIdentity& film, TFilmFrame place, int64_t savedMs);
  // Forgets the place of film's path unless it was taken after savedMs.
  void ForgetPlace(const TFilmIdentity& film, int64_t savedMs);
  size_t ResumeCount() const { return FPlaces.size(); }

private:
  struct TPlaceEntry {
    TFilmIdentity Film;
    TFilmFrame Place;
    int64_t SavedMs = 0;
  };
  bool ParseLine(std::string_view line);
  bool ParsePlace(std::string_view value, bool withSavedTime);
  void AddPlace(TPlaceEntry entry);

  std::vector<std::pair<std::string, std::string>> FValues;
  std::vector<std::string> FOtherLines;  // lines not understood, in their order
  std::vector<TPlaceEntry> FPlaces;      // the latest first
};

// What one player changed and has not written yet. Written, it goes over what the file
// holds at that moment: for each film the newer place wins (or the newer forgetting),
// and the values are this player's.
class TSettingsChanges {
public:
  void RememberPlace(const TFilmIdentity& film, TFilmFrame place, int64_t savedMs);
  void ForgetPlace(const TFilmIdentity& film, int64_t savedMs);
  void SetValue(const std::string& key, const std::string& value);
  void ApplyTo(TSettingsStore& store) const;
  bool Empty() const { return FPlaces.empty() && FValues.empty(); }
  void Clear();

private:
  struct TPlaceChange {
    TFilmIdentity Film;
    std::optional<TFilmFrame> Place;  // none: forgotten
    int64_t SavedMs = 0;
  };
  std::vector<TPlaceChange> FPlaces;  // one a path, its latest change
  std::vector<std::pair<std::string, std::string>> FValues;
};
