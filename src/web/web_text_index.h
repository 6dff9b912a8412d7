#pragma once
// The text index made in the page: the film walked as kof index walks it
// (text/film_text_walk.h), each area due handed to the page ready for tesseract.js
// (text/area_reading.h), and the words of each pass the page reads joined as kof joins
// Tesseract's. The page's reader answers later, so the walk waits between areas; pixels
// read once are not handed out again (text/reading_cache.h).
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

  // Walks on to the next area to read: {"width", "height", "factor", "layout",
  // "progress"}, its grey pixels (dark text on white, row by row) at Pixels(), valid
  // until the next call; {"done": true, "progress": 1} once the whole film is walked.
  // The page enlarges the pixels factor times inside a white border of "border" pixels
  // and reads them with page segmentation mode "layout".
  std::string NextArea();
  const uint8_t* Pixels() const { return FPrepared ? FPrepared->Grey.data() : nullptr; }

  // The words the page read in the area's last pass: a JSON array of {"text",
  // "confidence", "box": [x0, y0, x1, y1]} in the enlarged image's pixels. Returns the
  // next pass over the same pixels ({"factor", "layout", ...} as NextArea's) when the
  // reader was unsure, else {}. Throws EkoError when words is not such an array.
  std::string PassRead(std::string_view words);

  // The index as its document, once NextArea said done.
  std::string Document() const;
  // Why segments have no words or ended early, one line each.
  const std::vector<std::string>& Problems() const { return FProblems; }

private:
  std::string PassJson(TReadPass pass) const;

  std::filesystem::path FFilm;
  std::string FLanguages;
  TSegmentList FSegments;
  TFilmTextWalk FWalk;
  std::vector<TTextBox> FQueue;  // the areas due in the walk's picture not handed out yet
  TTextBox FArea;
  std::optional<TPreparedArea> FPrepared;
  int32_t FPass = 0;  // passes read over FPrepared
  TReadPass FReading{0, TTextLayout::kBlock};
  std::vector<TReadWord> FWords;
  TReadingCache FReadings;
  std::vector<TIndexedWord> FIndexed;
  std::vector<std::string> FProblems;
};
