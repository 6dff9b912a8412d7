#pragma once
// The text index of a film: every word that was on screen, where and when, as kof index
// makes it and the players search it. It is kept in a small versioned JSON document
// beside the film (FILM.words.json):
//
//   {"format": "roRezodu text index", "version": 2,
//    "film": "lesson.kof", "filmBytes": 123456, "filmIdentity": "9c0f4e...",
//    "languages": "eng+rus",
//    "segments": [{"width": 800, "height": 600}],
//    "words": [{"text": "Settings", "confidence": 91, "segment": 1,
//               "box": [120, 48, 56, 13], "from": 12.5, "to": 20.3,
//               "moves": [[14.1, 120, 36, 56, 13]]}]}
//
// segment counts from 1 as everywhere a user sees segments; box is left, top, width
// and height in the segment's pixels; from is the time (seconds from the segment's
// start) of the first frame that showed the word whole, to that of the first frame
// that changed it (the segment's end when none did); confidence is the reader's,
// 0 to 100. moves, left out when there are none, are the places a word went to with its
// neighbours while it stayed on screen: the time and the box there. filmIdentity is the film's (film/film_identity.h): an index is searched only
// beside the film it was made of. Version 1 had none; such an index is taken as made of
// another version of the film.
//
// What a reader takes is bounded, so that a crafted or runaway index cannot exhaust
// memory: the document at most kTextIndexMostBytes, a word's text at most
// kIndexedWordMostBytes.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/text_box.h"

constexpr int32_t kTextIndexVersion = 2;
constexpr size_t kTextIndexMostBytes = size_t(64) << 20;
constexpr size_t kIndexedWordMostBytes = 256;
constexpr const char* kTextIndexFormat = "roRezodu text index";
constexpr const char* kTextIndexSuffix = ".words.json";

// Where a film's index lies unless told otherwise: FILM.words.json, for a film
// executable its own name and the suffix ("lesson.exe.words.json"). kof, the players
// and the page all look there.
std::filesystem::path TextIndexBeside(const std::filesystem::path& film);

// A word that moved with its neighbours (a list scrolled, a window dragged): from At
// on, it stood at Box.
struct TWordMove {
  double At = 0;
  TTextBox Box;
  bool operator==(const TWordMove&) const = default;
};

struct TIndexedWord {
  std::string Text;  // UTF-8
  int32_t Confidence = 0;
  int32_t Segment = 1;  // from 1
  TTextBox Box;  // where it came, at From
  double From = 0, To = 0;
  std::vector<TWordMove> Moves{};  // in time order, each between From and To
  bool operator==(const TIndexedWord&) const = default;
};

struct TIndexedSegment {
  int32_t Width = 0, Height = 0;
  bool operator==(const TIndexedSegment&) const = default;
};

struct TTextIndex {
  std::string Film;  // the film's file name, without its folder
  int64_t FilmBytes = 0;
  std::string FilmIdentity;  // "" in an index of version 1
  std::string Languages;
  std::vector<TIndexedSegment> Segments;
  std::vector<TIndexedWord> Words;
  bool operator==(const TTextIndex&) const = default;
};

// The index as its JSON document (UTF-8, one word a line).
std::string TextIndexDocument(const TTextIndex& index);

// Reads a document. Throws EkoError with one line saying what is wrong: not JSON, not a
// text index, a version newer than this one reads, or the word or field that is
// damaged (a segment outside the list, a box outside its segment, a word that goes
// before it comes, text that is not UTF-8 or too long), or that the document is larger
// than a reader takes. Words are taken one at a time as they are read, so reading needs
// little more memory than the document and its words.
TTextIndex ParseTextIndex(std::string_view document);

// Reads the index at path: nothing when there is no such file; throws EkoError as
// ParseTextIndex, and for a file larger than a reader takes before reading it.
std::optional<TTextIndex> ReadTextIndexFile(const std::filesystem::path& path);

// Whether index was made of the film at film (the film's identity is the one it holds).
bool IndexBelongsTo(const TTextIndex& index, const std::filesystem::path& film);
