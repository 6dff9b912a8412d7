#include "playback/screen_scale.h"

#include <algorithm>
#include <cmath>

#include "playback/saturate.h"

TScreenScale TScreenScale::FromRatio(double ratio) {
  if (!(ratio > 0) || !std::isfinite(ratio)) return TScreenScale();
  return TScreenScale(SaturateToInt32(std::llround(std::min(ratio, 1e6) * kDesignDpi)));
}

int32_t TScreenScale::Px(int32_t designPixels) const {
  // MulDiv's rounding: the half is added away from zero before the division truncates.
  const int64_t product = int64_t{designPixels} * FDpi;
  const int64_t half = kDesignDpi / 2;
  return SaturateToInt32(product >= 0 ? (product + half) / kDesignDpi : (product - half) / kDesignDpi);
}
