#pragma once
// Which of the panel's button and thumb pictures a scaled screen takes. The pictures
// are drawn (resources/art/make_bitmaps.py, whose list of scales is this one) at several
// scales; a screen takes the smallest drawn at or above its own and reduces it to the
// exact size, so that no picture is ever blurred by enlarging it.
#include <cstdint>
#include <string>

#include "playback/screen_scale.h"

// The drawn scales in per cent. The design's pictures (100 %) have the design's resource
// names; the others that name, "_" and the per cent ("PLAYBMP_150").
constexpr int32_t kPictureScales[] = {100, 150, 200, 300, 400, 500};

// The drawn scale for the screen: the smallest at or above it, else the largest.
int32_t PictureScaleFor(const TScreenScale& scale);
// The resource name of the picture `name` drawn at `percent`.
std::wstring ScaledPictureName(const std::wstring& name, int32_t percent);
