#include "kof_reading/screen_reader.h"

#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <algorithm>
#include <cctype>

#include "film/ko_error.h"
#include "text/text_search.h"
#include "text/word_repair.h"

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

// One pass of Tesseract over a prepared picture of box: every word with a letter or
// digit, whatever the confidence.
std::vector<TReadWord> ReadPass(tesseract::TessBaseAPI& api, PIX* prepared, const TTextBox& box, TReadPass pass) {
  std::vector<TReadWord> words;
  PixHolder enlarged(pixScaleGrayLI(prepared, float(pass.Factor), float(pass.Factor)));
  PixHolder large(pixAddBorder(enlarged.pix, kReadBorder, 255));
  api.SetPageSegMode(tesseract::PageSegMode(pass.Layout));
  api.SetImage(large.pix);
  if (api.Recognize(nullptr) != 0) return words;
  std::unique_ptr<tesseract::ResultIterator> it(api.GetIterator());
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

bool AsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The word without the punctuation around it ("track," is "track"); empty when what is
// left is not all Latin letters.
std::string LatinLetters(const std::string& word) {
  const auto first = std::find_if(word.begin(), word.end(), AsciiLetter);
  const auto last = std::find_if(word.rbegin(), word.rend(), AsciiLetter).base();
  if (first >= last || !std::all_of(first, last, AsciiLetter)) return {};
  for (auto c = word.begin(); c != word.end(); ++c)
    if ((c < first || c >= last) && !std::ispunct(static_cast<unsigned char>(*c))) return {};
  return std::string(first, last);
}

// Single words of one prepared area read by Tesseract. Its dictionary is the first
// language's, so only words of Latin letters are judged.
class TesseractWords : public TWordReader {
public:
  TesseractWords(tesseract::TessBaseAPI& api, const TPreparedArea& area) : FApi(api), FArea(area) {}

  std::vector<TReadWord> ReadAlone(const TTextBox& box, TReadPass pass) override {
    const std::optional<TPreparedArea> part = PartAlone(FArea, box);
    if (!part) return {};
    PixHolder pix(GreyPix(part->Grey, part->Box.Width(), part->Box.Height()));
    return ReadPass(FApi, pix.pix, part->Box, pass);
  }

  TWordKind KindOf(const std::string& word) override {
    const std::string letters = LatinLetters(word);
    if (letters.empty()) return TWordKind::Unjudged;
    return FApi.IsValidWord(letters.c_str()) ? TWordKind::Known : TWordKind::Unknown;
  }

private:
  tesseract::TessBaseAPI& FApi;
  const TPreparedArea& FArea;
};
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
  const std::optional<TPreparedArea> prepared = PrepareArea(picture, area);
  if (!prepared) return {};
  const TReadPass first = FirstPass(area);
  if (std::optional<std::vector<TReadWord>> known = FReadings.Find(*prepared, first)) return *std::move(known);
  PixHolder pix(GreyPix(prepared->Grey, prepared->Box.Width(), prepared->Box.Height()));
  std::vector<TReadWord> words = ReadPass(*FApi, pix.pix, prepared->Box, first);
  if (WantsSecondPass(words)) TakeSecondPass(words, ReadPass(*FApi, pix.pix, prepared->Box, SecondPass()));
  TesseractWords alone(*FApi, *prepared);
  words = RepairWords(std::move(words), *prepared, alone);
  DropUnsure(words);
  FReadings.Keep(*prepared, first, words);
  return words;
}
