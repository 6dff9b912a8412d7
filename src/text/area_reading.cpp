#include "text/area_reading.h"

#include <algorithm>

namespace {
constexpr int32_t kMargin = 4;  // pixels of background kept around an area
constexpr int32_t kRun = 12;    // pixels of one shade in a row that make a background, longer than any stroke
constexpr int32_t kSingleLine = 24;  // areas at most this tall hold one line of text
constexpr int32_t kLowestConfidence = 50;
constexpr int32_t kSure = 85;  // below this, a word is read a second time

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

// The background behind each pixel of a row: screens paint text on flat colour, so the
// runs of one luminance at least kRun long are background, and a pixel between them
// stands on the nearer one. Nothing for a row without such runs (one through a line of
// text with little room around it, a gradient).
std::vector<uint8_t> RowBackground(const uint8_t* row, int32_t width) {
  struct Run {
    int32_t from, to;
    uint8_t value;
  };
  std::vector<Run> runs;
  for (int32_t x = 0; x < width;) {
    int32_t end = x + 1;
    while (end < width && row[end] == row[x]) ++end;
    if (end - x >= kRun) runs.push_back({x, end, row[x]});
    x = end;
  }
  if (runs.empty()) return {};
  std::vector<uint8_t> background(size_t(width), 0);
  size_t next = 0;  // the first run that ends after x
  for (int32_t x = 0; x < width; ++x) {
    while (next < runs.size() && runs[next].to <= x) ++next;
    const bool inside = next < runs.size() && runs[next].from <= x;
    if (inside || next == 0) {
      background[size_t(x)] = runs[std::min(next, runs.size() - 1)].value;
      continue;
    }
    const Run& before = runs[next - 1];
    const bool nearerAfter = next < runs.size() && runs[next].from - x < x - before.to + 1;
    background[size_t(x)] = nearerAfter ? runs[next].value : before.value;
  }
  return background;
}

// Makes all text dark on white: pixels on a dark background are inverted, and each is
// scaled so that its background becomes white (a highlighted line reads as its menu).
// A row without a background of its own takes the nearest row's above or below it
// (the margin around the area is background); the area's mean when there is none.
void DarkOnWhite(std::vector<uint8_t>& grey, int32_t width, int32_t height) {
  std::vector<std::vector<uint8_t>> backgrounds;
  backgrounds.resize(size_t(height));
  for (int32_t y = 0; y < height; ++y)
    backgrounds[size_t(y)] = RowBackground(grey.data() + size_t(y) * size_t(width), width);
  const auto nearest = [&](int32_t y) -> std::vector<uint8_t> {
    for (int32_t d = 1; d < height; ++d)
      for (const int32_t row : {y - d, y + d})
        if (row >= 0 && row < height && !backgrounds[size_t(row)].empty()) return backgrounds[size_t(row)];
    int64_t sum = 0;
    for (const uint8_t v : grey) sum += v;
    return std::vector<uint8_t>(size_t(width), uint8_t(sum / std::max<int64_t>(int64_t(grey.size()), 1)));
  };
  for (int32_t y = 0; y < height; ++y)
    if (backgrounds[size_t(y)].empty()) backgrounds[size_t(y)] = nearest(y);
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = grey.data() + size_t(y) * size_t(width);
    const std::vector<uint8_t>& background = backgrounds[size_t(y)];
    for (int32_t x = 0; x < width; ++x) {
      int32_t value = row[x], behind = background[size_t(x)];
      if (behind < 128) {
        value = 255 - value;
        behind = 255 - behind;
      }
      row[x] = uint8_t(std::min(255, value * 255 / std::max(behind, 1)));
    }
  }
}
}  // namespace

std::optional<TPreparedArea> PrepareArea(const TkoPictureView& picture, const TTextBox& area) {
  const TTextBox box = area.Expanded(kMargin, kMargin).Intersection({0, 0, picture.Width, picture.Height});
  if (box.Width() < 4 || box.Height() < 6) return std::nullopt;
  TPreparedArea prepared{box, Grey(picture, box)};
  DarkOnWhite(prepared.Grey, box.Width(), box.Height());
  return prepared;
}

TReadPass FirstPass(const TTextBox& area) {
  return {3, area.Height() <= kSingleLine ? TTextLayout::kSingleLine : TTextLayout::kSparse};
}

TReadPass SecondPass() { return {4, TTextLayout::kBlock}; }

TTextBox BoxInPicture(const TTextBox& preparedBox, int32_t factor, int32_t left, int32_t top, int32_t right,
                      int32_t bottom) {
  left -= kReadBorder, top -= kReadBorder, right -= kReadBorder, bottom -= kReadBorder;
  const TTextBox found{preparedBox.Left + left / factor, preparedBox.Top + top / factor,
                       preparedBox.Left + (right + factor - 1) / factor,
                       preparedBox.Top + (bottom + factor - 1) / factor};
  return found.Intersection(preparedBox);
}

bool WantsSecondPass(const std::vector<TReadWord>& words) {
  return std::any_of(words.begin(), words.end(), [](const TReadWord& w) { return w.Confidence < kSure; });
}

void TakeSecondPass(std::vector<TReadWord>& words, std::vector<TReadWord> second) {
  for (TReadWord& word : second) {
    const auto same = std::find_if(words.begin(), words.end(),
                                   [&](const TReadWord& w) { return OverlapOfSmaller(w.Box, word.Box) >= 0.5; });
    if (same == words.end())
      words.push_back(std::move(word));
    else if (word.Confidence > same->Confidence)
      *same = std::move(word);
  }
}

void DropUnsure(std::vector<TReadWord>& words) {
  std::erase_if(words, [](const TReadWord& w) { return w.Confidence < kLowestConfidence; });
}
