#pragma once
// The player's one rounding rule for timing, scaling and rate values: to the nearest
// integer, halves to the even neighbour (2.5 gives 2, 3.5 gives 4, -2.5 gives -2).
#include <cmath>
#include <cstdint>

// Rounds value as above. Values outside the int64_t range, and NaN, are not expected
// from the callers; they are clamped (NaN gives 0) rather than left undefined.
inline int64_t RoundHalfEven(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 9.2e18) return INT64_MAX;
  if (value <= -9.2e18) return INT64_MIN;
  const double lower = std::floor(value);
  const double fraction = value - lower;
  auto result = static_cast<int64_t>(lower);
  if (fraction > 0.5 || (fraction == 0.5 && (result % 2) != 0)) ++result;
  return result;
}
