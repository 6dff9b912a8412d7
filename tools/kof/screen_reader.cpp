#include "screen_reader.h"

#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <algorithm>

#include "film/ko_error.h"
#include "text/text_search.h"

namespace {
struct PixHolder {
  PixHolder(const PixHolder&) = delete;
  PixHolder& operator=(const PixHolder&) = delete;
  PIX* pix;
  explicit PixHolder(PIX* p) : pix(p) {}
  ~PixHolder() { pixDestroy(&pix); }
};

PIX* GreyPix(const std::vector<uint8_t>& grey, int32_t width, int32_t height) {
  PIX* pix = pixCreate(width, height, 8);
  for (int32_t y = 0; y < height; ++y) {
    l_uint32* line = pixGetData(pix) + y * pixGetWpl(pix);
    for (int32_t x = 0; x < width; ++x) SET_DATA_BYTE(line, x, grey[size_t(y * width + x)]);
  }
  return pix;
}

}  // namespace

ScreenReader::ScreenReader(const std::string& languages) : FApi(std::make_unique<tesseract::TessBaseAPI>()) {
  if (FApi->Init(nullptr, languages.c_str(), tesseract::OEM_LSTM_ONLY) != 0)
    throw EkoError("Tesseract cannot load the language data of " + languages +
                   " (Debian: tesseract-ocr-eng, tesseract-ocr-rus)");
  FApi->SetVariable("debug_file", "/dev/null");
  FApi->SetVariable("user_defined_dpi", "300");
}

ScreenReader::~ScreenReader() { FApi->End(); }

// One pass of the reader over the prepared area (box of the picture): every word with a
// letter or digit, whatever the confidence.
std::vector<TReadWord> ScreenReader::Pass(PIX* prepared, const TTextBox& box, TReadPass pass) {
  std::vector<TReadWord> words;
  PixHolder enlarged(pixScaleGrayLI(prepared, float(pass.Factor), float(pass.Factor)));
  PixHolder large(pixAddBorder(enlarged.pix, kReadBorder, 255));
  FApi->SetPageSegMode(tesseract::PageSegMode(pass.Layout));
  FApi->SetImage(large.pix);
  if (FApi->Recognize(nullptr) != 0) return words;
  std::unique_ptr<tesseract::ResultIterator> it(FApi->GetIterator());
  if (!it) return words;
  do {
    const std::unique_ptr<char[]> text(it->GetUTF8Text(tesseract::RIL_WORD));
    int left = 0, top = 0, right = 0, bottom = 0;
    if (!text || SearchForm(text.get()).empty() || !it->BoundingBox(tesseract::RIL_WORD, &left, &top, &right, &bottom))
      continue;
    words.push_back({text.get(), int32_t(it->Confidence(tesseract::RIL_WORD)),
                     BoxInPicture(box, pass.Factor, left, top, right, bottom)});
  } while (it->Next(tesseract::RIL_WORD));
  return words;
}

std::vector<TReadWord> ScreenReader::Read(const TkoPictureView& picture, const TTextBox& area) {
  const std::optional<TPreparedArea> prepared = PrepareArea(picture, area);
  if (!prepared) return {};
  const TReadPass first = FirstPass(area);
  if (std::optional<std::vector<TReadWord>> known = FReadings.Find(*prepared, first)) return *std::move(known);
  PixHolder pix(GreyPix(prepared->Grey, prepared->Box.Width(), prepared->Box.Height()));
  std::vector<TReadWord> words = Pass(pix.pix, prepared->Box, first);
  if (WantsSecondPass(words)) TakeSecondPass(words, Pass(pix.pix, prepared->Box, SecondPass()));
  DropUnsure(words);
  FReadings.Keep(*prepared, first, words);
  return words;
}
