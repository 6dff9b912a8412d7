#pragma once
// Which of the panel's button and thumb pictures a scaled screen takes. The pictures
// are drawn (resources/art/make_bitmaps.py, which reads its list of scales from here)
// at several scales, each in the exact size the panel's layout gives it there, so the
// usual screen scales show them pixel for pixel; a screen between them takes the
// smallest drawn above its own and reduces it, so that no picture is ever blurred by
// enlarging it.
#include <cstdint>
#include <string>

#include "playback/screen_scale.h"

// The drawn scales in per cent. The design's pictures (100 %) have the design's resource
// names; the others that name, "_" and the per cent ("PLAYBMP_150").
constexpr int32_t kPictureScales[] = {100, 125, 150, 175, 200, 300, 400, 500};

// The drawn scale for the screen: the smallest at or above it, else the largest.
int32_t PictureScaleFor(const TScreenScale& scale);
// The resource name of the picture `name` drawn at `percent`.
std::wstring ScaledPictureName(const std::wstring& name, int32_t percent);
