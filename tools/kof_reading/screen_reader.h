#pragma once
// Reads the words of an area of a film's picture with Tesseract, as text/area_reading.h
// says an area is read. Words come with their boxes in the picture's pixels; what holds
// no letter or digit, or was read with little confidence, is left out. Pixels read once
// are not read again (text/reading_cache.h).
#include <tesseract/publictypes.h>

#include <memory>
#include <string>
#include <vector>

#include "text/area_reading.h"
#include "text/reading_cache.h"

namespace tesseract {
class TessBaseAPI;
}

class ScreenReader {
public:
  // languages as Tesseract names them ("eng+rus"). Throws EkoError when Tesseract or a
  // language's data cannot be loaded.
  explicit ScreenReader(const std::string& languages);
  ~ScreenReader();
  ScreenReader(const ScreenReader&) = delete;
  ScreenReader& operator=(const ScreenReader&) = delete;

  std::vector<TReadWord> Read(const TkoPictureView& picture, const TTextBox& area);

private:
  std::unique_ptr<tesseract::TessBaseAPI> FApi;
  TReadingCache FReadings;
};
