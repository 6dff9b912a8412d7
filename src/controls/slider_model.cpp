#include "controls/slider_model.h"

#include "film/round_half_even.h"

namespace {
// Sets a flag for the life of the scope, also when an exception passes.
class TFlagScope {
public:
  explicit TFlagScope(bool& flag) : FFlag(flag) { FFlag = true; }
  ~TFlagScope() { FFlag = false; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

private:
  bool& FFlag;
};
}  // namespace

void TSliderModel::Resize(int32_t width) {
  FWidth = width;
  PlaceThumbAtValue();
}

void TSliderModel::SetThumbSize(int32_t size) {
  FThumbWidth = FThumbHeight = size;
  PlaceThumbAtValue();
}

// A new track keeps the value: the value's pixel on it need not map back to the same
// value (another scale rounds differently), and the value must not follow the pixel.
void TSliderModel::PlaceThumbAtValue() {
  const TFlagScope guard(FPlacingFromValue);
  SetThumbPos(PositionToPixels());
}

int32_t TSliderModel::PositionToPixels() const {
  if (FMin >= FMax || FWidth < FThumbWidth) return 0;
  const int64_t scaled = (int64_t{FPosition} - FMin) * (int64_t{FWidth} - FThumbWidth);
  return static_cast<int32_t>(RoundHalfEven(static_cast<double>(scaled) / (static_cast<double>(FMax) - FMin)));
}

void TSliderModel::SetThumbPos(int32_t x) {
  if (x == FThumbPos) return;
  const int32_t range = FWidth - FThumbWidth;
  if (x < 0)
    x = 0;
  else if (x > range)
    x = range;
  if (x == FThumbPos) return;
  FThumbPos = x;
  if (!FPlacingFromValue && FMax >= FMin && FThumbWidth < FWidth) {
    const TFlagScope guard(FSettingFromThumb);
    const double share = static_cast<double>(x) / range * (static_cast<double>(FMax) - FMin);
    SetPosition(static_cast<int32_t>(FMin + RoundHalfEven(share)));
  }
  if (OnThumbMoved) OnThumbMoved();
}

void TSliderModel::SetPosition(int32_t value) {
  if (value == FPosition) return;
  if (value < FMin)
    value = FMin;
  else if (value > FMax)
    value = FMax;
  if (value == FPosition) return;
  FPosition = value;
  if (!FSettingFromThumb) SetThumbPos(PositionToPixels());
  if (OnChange) OnChange();
}
