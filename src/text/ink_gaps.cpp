#include "text/ink_gaps.h"

#include <algorithm>

namespace {
// Lighter than this is background: anti-aliased edges of a letter are lighter still,
// and a gap they cross is still a gap between letters.
constexpr uint8_t kInk = 200;

bool BlankColumn(const TPreparedArea& area, int32_t x, const TTextBox& box) {
  const int32_t width = area.Box.Width();
  for (int32_t y = box.Top; y < box.Bottom; ++y)
    if (area.Grey[size_t(y - area.Box.Top) * size_t(width) + size_t(x - area.Box.Left)] < kInk) return false;
  return true;
}
}  // namespace

std::vector<TInkGap> InkGaps(const TPreparedArea& area, const TTextBox& box) {
  const TTextBox inside = box.Intersection(area.Box);
  std::vector<TInkGap> gaps;
  bool inkBefore = false;
  for (int32_t x = inside.Left; x < inside.Right;) {
    if (!BlankColumn(area, x, inside)) {
      inkBefore = true;
      ++x;
      continue;
    }
    int32_t end = x + 1;
    while (end < inside.Right && BlankColumn(area, end, inside)) ++end;
    if (inkBefore && end < inside.Right) gaps.push_back({x, end});
    x = end;
  }
  return gaps;
}

std::optional<TInkGap> GapNear(const std::vector<TInkGap>& gaps, int32_t x, int32_t within) {
  std::optional<TInkGap> nearest;
  int32_t distance = within + 1;
  for (const TInkGap& gap : gaps) {
    const int32_t d = x < gap.Left ? gap.Left - x : x >= gap.Right ? x - gap.Right + 1 : 0;
    if (d < distance) {
      nearest = gap;
      distance = d;
    }
  }
  return nearest;
}

std::vector<TInkGap> WidestInkGaps(const TPreparedArea& area, const TTextBox& box, size_t most) {
  std::vector<TInkGap> gaps = InkGaps(area, box);
  int32_t widest = 0, narrowest = box.Width();
  for (const TInkGap& gap : gaps) {
    widest = std::max(widest, gap.Width());
    narrowest = std::min(narrowest, gap.Width());
  }
  if (gaps.size() > 1 && widest == narrowest) return {};
  std::erase_if(gaps, [&](const TInkGap& gap) { return gap.Width() < widest; });
  if (gaps.size() > most) gaps.resize(most);
  return gaps;
}
