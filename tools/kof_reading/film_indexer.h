#pragma once
// The text index of one film (text/text_index.h): its pictures walked as
// text/film_text_walk.h says, each area due read by Tesseract (screen_reader.h).
#include <filesystem>
#include <string>

#include "text/text_index.h"

struct IndexRequest {
  std::filesystem::path film;
  std::string languages = "eng+rus";
  std::filesystem::path unpackFolder;  // empty: a temporary folder of its own
};

// The film's index. Segments that cannot be played are said on standard error and
// have no words. Throws EkoError when the film cannot be read at all or Tesseract
// cannot start, ExportInterrupted on a signal (interruption.h).
TTextIndex IndexFilm(const IndexRequest& request);

