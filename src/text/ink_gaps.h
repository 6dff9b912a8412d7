#pragma once
// Where a word the reader found may be two: the columns of a prepared area (dark text on
// white) without ink inside the word's box. Screen fonts set letters one or two pixels
// apart and toolbars set words hardly further, so a gap alone does not tell a word's end;
// the widest gaps of a box are where the reader is asked to look again.
#include <cstdint>
#include <optional>
#include <vector>

#include "text/area_reading.h"

struct TInkGap {
  int32_t Left, Right;  // the blank columns, in the picture's pixels (Right outside)
  int32_t Width() const { return Right - Left; }
};

// The runs of columns of box without ink that have ink on both sides, left to right.
std::vector<TInkGap> InkGaps(const TPreparedArea& area, const TTextBox& box);

// The gap of gaps nearest to column x, if one lies within `within` columns of it.
std::optional<TInkGap> GapNear(const std::vector<TInkGap>& gaps, int32_t x, int32_t within);

// Those of the widest of them, at most `most`, left to right; none where all gaps are
// as wide (a fixed-pitch font's letters, or a word typed half-way, tell no word's end).
std::vector<TInkGap> WidestInkGaps(const TPreparedArea& area, const TTextBox& box, size_t most);
