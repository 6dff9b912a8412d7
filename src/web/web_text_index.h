#pragma once
// The text index made in the page: the film walked as kof index walks it
// (text/film_text_walk.h), each area due handed to the page ready for tesseract.js
// (text/area_reading.h), and the words of each pass the page reads joined and mended as
// kof joins and mends Tesseract's (text/word_repair.h). The page's reader answers later,
// so the walk waits between areas, and each word the mending reads alone is one more pass
// handed to the page; pixels read once are not handed out again (text/reading_cache.h).
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "film/segment_list.h"
#include "text/area_reading.h"
#include "text/film_text_walk.h"
#include "text/reading_cache.h"

class TWebTextIndex {
public:
  // Loads the film at path (a plain film or one behind a player), unpacking into folder,
  // which must outlive this. Throws EkoError when it cannot be read.
  TWebTextIndex(const std::filesystem::path& film, const std::filesystem::path& folder, std::string languages);

  // At most this many parts of one area are read alone to mend its words; past it, the
  // mending goes on as if they held none, so that no picture keeps the page reading it.
  static constexpr size_t kMostReadingsAlone = 64;

  // Walks on to the next area to read: {"width", "height", "factor", "layout",
  // "progress"}, its grey pixels (dark text on white, row by row) at Pixels(), valid
  // until the next call; {"done": true, "progress": 1} once the whole film is walked.
  // The page enlarges the pixels factor times inside a white border of "border" pixels
  // and reads them with page segmentation mode "layout".
  std::string NextArea();
  const uint8_t* Pixels() const;

  // The words the page read in the last pass: a JSON array of {"text", "confidence",
  // "box": [x0, y0, x1, y1]} in the enlarged image's pixels. Returns the next pass, as
  // NextArea's, while the area is not read to its end: over the same pixels when the
  // reader was unsure, or over the part of them a word is read alone in (its width,
  // height and pixels); else {}. Throws EkoError when words is not such an array.
  std::string PassRead(std::string_view words);

  // The index as its document, once NextArea said done.
  std::string Document() const;
  // Why segments have no words or ended early, one line each.
  const std::vector<std::string>& Problems() const { return FProblems; }

private:
  enum class TStep { kWhole, kWholeAgain, kAlone };
  // A part of the area the page read alone.
  struct TReadAlone {
    TTextBox Box;
    TReadPass Pass;
    std::vector<TReadWord> Words;
  };
  class TReadingsMade;

  std::string PassJson(const TPreparedArea& pixels, TReadPass pass) const;
  // Mends the words read whole with the parts read alone so far: the next part to read
  // as PassRead's answer, or {} once the area is read.
  std::string Mend();

  std::filesystem::path FFilm;
  std::string FLanguages;
  TSegmentList FSegments;
  TFilmTextWalk FWalk;
  std::vector<TTextBox> FQueue;  // the areas due in the walk's picture not handed out yet
  TTextBox FArea;
  std::optional<TPreparedArea> FPrepared;
  TStep FStep = TStep::kWhole;  // what the page reads now
  std::optional<TPreparedArea> FPart;  // the part of FPrepared read alone now
  TReadPass FReading{0, TTextLayout::kBlock};
  std::vector<TReadWord> FWords;  // read whole
  std::vector<TReadAlone> FAlone;
  TReadingCache FReadings;
  std::vector<TIndexedWord> FIndexed;
  std::vector<std::string> FProblems;
};
