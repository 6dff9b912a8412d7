#include "text/area_reading.h"

#include <algorithm>

namespace {
constexpr int32_t kMargin = 4;  // pixels of background kept around an area
constexpr int32_t kRun = 12;    // pixels of one shade in a row that make a background, longer than any stroke
constexpr int32_t kAcross = 8;  // rows above and below where a background always counts
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

// Screens paint text on flat colour: the runs of one luminance at least kRun long in a
// row are background.
struct TRun {
  int32_t From, To;
  uint8_t Value;
};

std::vector<TRun> RowRuns(const uint8_t* row, int32_t width) {
  std::vector<TRun> runs;
  for (int32_t x = 0; x < width;) {
    int32_t end = x + 1;
    while (end < width && row[end] == row[x]) ++end;
    if (end - x >= kRun) runs.push_back({x, end, row[x]});
    x = end;
  }
  return runs;
}

// A background is flat across rows too: a run counts only where the row above or below
// has one of its shade beside it for kRun pixels. A letter's long bar (the foot of `Ш`
// at 11 pt is 12 pixels) is one row thick and would else be taken for the background of
// the letter's inside.
bool Flat(const TRun& run, const std::vector<TRun>* neighbours[2]) {
  for (int32_t side = 0; side < 2; ++side) {
    if (!neighbours[side]) continue;
    const std::vector<TRun>& others = *neighbours[side];
    auto other = std::lower_bound(others.begin(), others.end(), run.From,
                                  [](const TRun& o, int32_t from) { return o.To <= from; });
    for (; other != others.end() && other->From < run.To; ++other)
      if (other->Value == run.Value && std::min(run.To, other->To) - std::max(run.From, other->From) >= kRun)
        return true;
  }
  return false;
}

std::vector<std::vector<TRun>> FlatRuns(const uint8_t* grey, int32_t width, int32_t height) {
  std::vector<std::vector<TRun>> rows(static_cast<size_t>(height));
  for (int32_t y = 0; y < height; ++y) rows[size_t(y)] = RowRuns(grey + size_t(y) * size_t(width), width);
  std::vector<std::vector<TRun>> flat(rows.size());
  for (size_t y = 0; y < rows.size(); ++y) {
    const std::vector<TRun>* neighbours[2] = {y > 0 ? &rows[y - 1] : nullptr,
                                              y + 1 < rows.size() ? &rows[y + 1] : nullptr};
    for (const TRun& run : rows[y])
      if (Flat(run, neighbours)) flat[y].push_back(run);
  }
  return flat;
}

// The run of runs that holds x, or the first that ends after it.
std::vector<TRun>::const_iterator RunAt(const std::vector<TRun>& runs, int32_t x) {
  return std::lower_bound(runs.begin(), runs.end(), x, [](const TRun& run, int32_t at) { return run.To <= at; });
}

// The background a pixel between the runs of its row stands on: that of the nearest run,
// along its row or across the rows above and below, whichever lies nearer. A word on a
// panel hardly wider than itself has no run of the panel's shade beside its letters, but
// one above and below them.
struct TNearest {
  uint8_t Value = 0;
  int32_t Distance = -1;  // none found
};

TNearest AlongRow(const std::vector<TRun>& runs, int32_t x) {
  const auto after = RunAt(runs, x);
  TNearest nearest;
  if (after != runs.end()) nearest = {after->Value, after->From - x};
  if (after != runs.begin() && (nearest.Distance < 0 || x - (after - 1)->To + 1 < nearest.Distance))
    nearest = {(after - 1)->Value, x - (after - 1)->To + 1};
  return nearest;
}

TNearest AcrossRows(const std::vector<std::vector<TRun>>& rows, int32_t x, int32_t y, int32_t within) {
  for (int32_t d = 1; d <= within; ++d)
    for (const int32_t row : {y - d, y + d}) {
      if (row < 0 || row >= int32_t(rows.size())) continue;
      const auto run = RunAt(rows[size_t(row)], x);
      if (run != rows[size_t(row)].end() && run->From <= x) return {run->Value, d};
    }
  return {};
}

// Makes all text dark on white: pixels on a dark background are inverted, and each is
// scaled so that its background becomes white (a highlighted line reads as its menu).
// Where no run is found at all, the background is the area's mean.
void DarkOnWhite(std::vector<uint8_t>& grey, int32_t width, int32_t height) {
  const std::vector<std::vector<TRun>> rows = FlatRuns(grey.data(), width, height);
  int64_t sum = 0;
  for (const uint8_t v : grey) sum += v;
  const auto mean = uint8_t(sum / std::max<int64_t>(int64_t(grey.size()), 1));
  std::vector<uint8_t> background(grey.size());
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      const std::vector<TRun>& runs = rows[size_t(y)];
      const auto own = RunAt(runs, x);
      uint8_t& behind = background[size_t(y) * size_t(width) + size_t(x)];
      if (own != runs.end() && own->From <= x) {
        behind = own->Value;
        continue;
      }
      const TNearest along = AlongRow(runs, x);
      const TNearest across = AcrossRows(rows, x, y, along.Distance < 0 ? height : std::max(along.Distance - 1, kAcross));
      behind = across.Distance >= 0 ? across.Value : along.Distance >= 0 ? along.Value : mean;
    }
  for (size_t i = 0; i < grey.size(); ++i) {
    int32_t value = grey[i], behind = background[i];
    if (behind < 128) {
      value = 255 - value;
      behind = 255 - behind;
    }
    grey[i] = uint8_t(std::min(255, value * 255 / std::max(behind, 1)));
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

TReadPass WordPass() { return {3, TTextLayout::kSingleLine}; }

TReadPass LargerWordPass() { return {4, TTextLayout::kSingleLine}; }

std::optional<TPreparedArea> PartAlone(const TPreparedArea& area, const TTextBox& box) {
  const TTextBox inside = box.Intersection(area.Box);
  if (inside.Width() < 2 || inside.Height() < 4) return std::nullopt;
  TPreparedArea part{inside, {}};
  part.Grey.reserve(size_t(inside.Area()));
  for (int32_t y = inside.Top; y < inside.Bottom; ++y) {
    const auto row = area.Grey.begin() + std::ptrdiff_t(y - area.Box.Top) * area.Box.Width();
    part.Grey.insert(part.Grey.end(), row + (inside.Left - area.Box.Left), row + (inside.Right - area.Box.Left));
  }
  return part;
}

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
