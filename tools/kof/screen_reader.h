#pragma once
// Reads the words in an area of a film's picture with Tesseract. The area is made grey,
// inverted where its text is light on dark (judged by the flat background each pixel
// stands on, so a highlighted menu line reads as well as the menu around it), and
// enlarged by a whole factor, as screen text at 100 % is too small for the reader. Where
// the reader is unsure of a word, the area is read once more, larger and as a block. Words come with their
// boxes in the picture's pixels; what holds no letter or digit, or was read with
// little confidence, is left out.
#include <tesseract/publictypes.h>

#include <memory>
#include <string>
#include <vector>

#include "playback/ko_picture.h"
#include "text/word_tracker.h"

struct Pix;
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
  std::vector<TReadWord> Pass(Pix* prepared, const TTextBox& box, int32_t factor, tesseract::PageSegMode mode);

  std::unique_ptr<tesseract::TessBaseAPI> FApi;
};
