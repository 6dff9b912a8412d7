#pragma once
// The player's one settings file per user: what the player remembers between runs
// (where each film was left, the language, ...), kept as a small versioned text:
//
//   roRezodu settings 2
//   KEY=SAVED VALUE                                  (single settings, one line each)
//   ...                                              (lines not understood, as they were)
//   place=SAVED SIZE WRITETIME SEGMENT FRAME PATH    (one line a film, the latest first)
//
// SAVED is when the setting or the place was taken, in milliseconds since 1970 (UTC):
// when two players write, the newer value of a key and the newer place of a film win.
// Files of version 1 are read and written as version 2: their lines "KEY=VALUE" carry no
// time and are older than any other, as are lines "resume=SIZE WRITETIME SEGMENT FRAME
// PATH" of still earlier builds.
//
// Reading is tolerant: a UTF-8 byte-order mark is skipped, and a line that cannot be
// taken is kept as it is, to be written back. A text that is not a settings file at all
// is damaged; one of a later version ("roRezodu settings 3" and up) is not read, since
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

// A single setting, taken at SavedMs.
struct TSettingValue {
  std::string Key, Value;
  int64_t SavedMs = 0;
};

// What a text turned out to be.
enum class TSettingsText : uint8_t {
  kSettings,      // a settings file of this version or an earlier one, or an empty text
  kLaterVersion,  // "roRezodu settings N" with N above kVersion: not read
  kDamaged,       // anything else
};

class TSettingsStore {
public:
  static constexpr size_t kMaxResumeFilms = 200;
  // The reader takes no more of a file than this, and the writer writes no more.
  static constexpr size_t kMaxFileBytes = size_t{1} << 20;
  static constexpr int kVersion = 2;
  static constexpr std::string_view kFirstLine = "roRezodu settings 2";  // kVersion's

  // Takes the text of a settings file. Anything but kSettings leaves the store empty.
  // Of a text over kMaxFileBytes the whole lines within them are read. Of the places the
  // kMaxResumeFilms latest are kept; of a key or a path repeated, the latest line (the
  // first of those taken at the same moment).
  TSettingsText Parse(std::string_view text);
  // The file's text: the first line, the single values, the lines not understood, then
  // the places, the latest first; the oldest places (then the last lines not
  // understood) left out as far as needed to stay within kMaxFileBytes.
  std::string Text() const;

  // A single setting; "" when it is not set. Keys are plain words (no "=", no line breaks,
  // neither "place" nor "resume").
  std::string Value(std::string_view key) const;
  // Sets key to value, taken at savedMs, unless key has a value taken later. False when
  // the store does not hold value then: a later one stays, or the key is not a plain
  // word or value has a line break.
  bool SetValue(const std::string& key, const std::string& value, int64_t savedMs);

  // Where film was left, when it is remembered (path, size and write time all agree).
  std::optional<TFilmFrame> ResumePlace(const TFilmIdentity& film) const;
  // Remembers place for film, taken at savedMs, unless its path has a place taken later;
  // an older place of the same path goes, and so does the oldest one beyond
  // kMaxResumeFilms. A path with a line break, or a place with a negative segment or
  // frame, is not remembered. False when the store does not hold place then.
  bool RememberPlace(const TFilmIdentity& film, TFilmFrame place, int64_t savedMs);
  // Forgets the place of film's path unless it was taken after savedMs; false when such
  // a later place stays.
  bool ForgetPlace(const TFilmIdentity& film, int64_t savedMs);
  size_t ResumeCount() const { return FPlaces.size(); }

private:
  struct TPlaceEntry {
    TFilmIdentity Film;
    TFilmFrame Place;
    int64_t SavedMs = 0;
  };
  bool ParseLine(std::string_view line, bool timedValues);
  bool ParseValue(std::string_view key, std::string_view value, bool timed);
  bool ParsePlace(std::string_view value, bool withSavedTime);

  std::vector<TSettingValue> FValues;     // in the file's order
  std::vector<std::string> FOtherLines;  // lines not understood, in their order
  std::vector<TPlaceEntry> FPlaces;      // the latest first
};

// What one player changed and has not written yet. Written, it goes over what the file
// holds at that moment: for each film the newer place wins (or the newer forgetting),
// for each key the newer value.
class TSettingsChanges {
public:
  void RememberPlace(const TFilmIdentity& film, TFilmFrame place, int64_t savedMs);
  void ForgetPlace(const TFilmIdentity& film, int64_t savedMs);
  void SetValue(const std::string& key, const std::string& value, int64_t savedMs);
  // Puts every change over store; false when some change is not in store then (a newer
  // one there won, or store could not take it).
  bool ApplyTo(TSettingsStore& store) const;
  bool Empty() const { return FPlaces.empty() && FValues.empty(); }
  void Clear();

private:
  struct TPlaceChange {
    TFilmIdentity Film;
    std::optional<TFilmFrame> Place;  // none: forgotten
    int64_t SavedMs = 0;
  };
  std::vector<TPlaceChange> FPlaces;   // one a path, its latest change
  std::vector<TSettingValue> FValues;  // one a key, its latest change
};
