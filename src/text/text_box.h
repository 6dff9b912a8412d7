#pragma once
// A rectangle of a film's picture, in the film's pixels: right and bottom lie outside.
#include <algorithm>
#include <cstdint>

struct TTextBox {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;

  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  bool Empty() const { return Right <= Left || Bottom <= Top; }
  int64_t Area() const { return Empty() ? 0 : int64_t(Width()) * Height(); }
  bool Intersects(const TTextBox& o) const {
    return Left < o.Right && o.Left < Right && Top < o.Bottom && o.Top < Bottom;
  }
  TTextBox Expanded(int32_t x, int32_t y) const { return {Left - x, Top - y, Right + x, Bottom + y}; }
  TTextBox Union(const TTextBox& o) const {
    if (Empty()) return o;
    if (o.Empty()) return *this;
    return {std::min(Left, o.Left), std::min(Top, o.Top), std::max(Right, o.Right), std::max(Bottom, o.Bottom)};
  }
  TTextBox Intersection(const TTextBox& o) const {
    return {std::max(Left, o.Left), std::max(Top, o.Top), std::min(Right, o.Right), std::min(Bottom, o.Bottom)};
  }
  bool operator==(const TTextBox&) const = default;
};

// The share of the smaller box that the two have in common: 1 when one holds the other.
inline double OverlapOfSmaller(const TTextBox& a, const TTextBox& b) {
  const int64_t smaller = std::min(a.Area(), b.Area());
  return smaller == 0 ? 0.0 : double(a.Intersection(b).Area()) / double(smaller);
}
