#include "screen_reader.h"

#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <algorithm>

#include "film/ko_error.h"
#include "text/text_search.h"

namespace {
constexpr int32_t kMargin = 4;         // pixels of background kept around an area
constexpr int32_t kEnlarge = 3;        // screen text at 100 % reads best three times as large
constexpr int32_t kAround = 8;         // radius of the neighbourhood that tells light from dark
constexpr int32_t kLowestConfidence = 40;
constexpr int32_t kSingleLine = 24;    // areas at most this tall hold one line of text

struct PixHolder {
  PIX* pix;
  explicit PixHolder(PIX* p) : pix(p) {}
  ~PixHolder() { pixDestroy(&pix); }
};

// The luminance of every pixel of box (row by row).
std::vector<uint8_t> Grey(const TkoPictureView& picture, const TTextBox& box) {
  std::vector<uint8_t> grey;
  grey.reserve(size_t(box.Area()));
  for (int32_t y = box.Top; y < box.Bottom; ++y)
    for (int32_t x = box.Left; x < box.Right; ++x) {
      const uint8_t* p = picture.At(x, y);  // blue, green, red
      grey.push_back(uint8_t((p[0] * 29 + p[1] * 150 + p[2] * 77) >> 8));
    }
  return grey;
}

// Inverts the pixels whose neighbourhood is dark, so that all text is dark on light.
void DarkOnLight(std::vector<uint8_t>& grey, int32_t width, int32_t height) {
  std::vector<int64_t> sums(size_t(width + 1) * size_t(height + 1), 0);  // summed-area table
  const auto sum = [&](int32_t x, int32_t y) -> int64_t& { return sums[size_t(y) * size_t(width + 1) + size_t(x)]; };
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      sum(x + 1, y + 1) = grey[size_t(y * width + x)] + sum(x, y + 1) + sum(x + 1, y) - sum(x, y);
  std::vector<uint8_t> out(grey);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      const int32_t left = std::max(x - kAround, 0), right = std::min(x + kAround + 1, width);
      const int32_t top = std::max(y - kAround, 0), bottom = std::min(y + kAround + 1, height);
      const int64_t total = sum(right, bottom) - sum(left, bottom) - sum(right, top) + sum(left, top);
      if (total < 128 * int64_t(right - left) * (bottom - top)) out[size_t(y * width + x)] = 255 - grey[size_t(y * width + x)];
    }
  grey.swap(out);
}

PIX* GreyPix(const std::vector<uint8_t>& grey, int32_t width, int32_t height) {
  PIX* pix = pixCreate(width, height, 8);
  for (int32_t y = 0; y < height; ++y) {
    l_uint32* line = pixGetData(pix) + y * pixGetWpl(pix);
    for (int32_t x = 0; x < width; ++x) SET_DATA_BYTE(line, x, grey[size_t(y * width + x)]);
  }
  return pix;
}

bool Worth(const std::string& text, int32_t confidence) {
  return confidence >= kLowestConfidence && !SearchForm(text).empty();
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

std::vector<TReadWord> ScreenReader::Read(const TkoPictureView& picture, const TTextBox& area) {
  const TTextBox box = area.Expanded(kMargin, kMargin).Intersection({0, 0, picture.Width, picture.Height});
  std::vector<TReadWord> words;
  if (box.Width() < 4 || box.Height() < 6) return words;
  std::vector<uint8_t> grey = Grey(picture, box);
  DarkOnLight(grey, box.Width(), box.Height());
  PixHolder small(GreyPix(grey, box.Width(), box.Height()));
  PixHolder large(pixScaleGrayLI(small.pix, float(kEnlarge), float(kEnlarge)));
  FApi->SetPageSegMode(area.Height() <= kSingleLine ? tesseract::PSM_SINGLE_LINE : tesseract::PSM_SPARSE_TEXT);
  FApi->SetImage(large.pix);
  if (FApi->Recognize(nullptr) != 0) return words;
  std::unique_ptr<tesseract::ResultIterator> it(FApi->GetIterator());
  if (!it) return words;
  do {
    const std::unique_ptr<char[]> text(it->GetUTF8Text(tesseract::RIL_WORD));
    if (!text) continue;
    const int32_t confidence = int32_t(it->Confidence(tesseract::RIL_WORD));
    int left = 0, top = 0, right = 0, bottom = 0;
    if (!Worth(text.get(), confidence) || !it->BoundingBox(tesseract::RIL_WORD, &left, &top, &right, &bottom)) continue;
    const TTextBox found{box.Left + left / kEnlarge, box.Top + top / kEnlarge, box.Left + (right + kEnlarge - 1) / kEnlarge,
                         box.Top + (bottom + kEnlarge - 1) / kEnlarge};
    words.push_back({text.get(), confidence, found.Intersection(box)});
  } while (it->Next(tesseract::RIL_WORD));
  return words;
}
