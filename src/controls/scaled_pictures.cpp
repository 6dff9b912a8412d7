#include "controls/scaled_pictures.h"

#include <iterator>

int32_t PictureScaleFor(const TScreenScale& scale) {
  for (const int32_t percent : kPictureScales)
    if (int64_t{percent} * kDesignDpi >= int64_t{scale.Dpi()} * 100) return percent;
  return *std::prev(std::end(kPictureScales));
}

std::wstring ScaledPictureName(const std::wstring& name, int32_t percent) {
  return percent == 100 ? name : name + L"_" + std::to_wstring(percent);
}
