#pragma once
// The picture above the progress bar is the frame a seek would show, pointer
// included, reduced by one fixed rule so that anyone can compute it from the frame:
//
//   k = the smallest whole number with width / k <= the largest preview width (k >= 1);
//   the preview is floor(width / k) x floor(height / k) pixels; each of its pixels is
//   the mean of a k x k block of the frame, blue, green and red each on its own,
//   rounded half up: (sum + k*k / 2) / (k*k), in whole numbers. Columns and rows of the
//   frame beyond the last whole block are left out.
#include <cstdint>

#include "playback/ko_picture.h"

// The largest preview width at 100 % (96 dots per inch); the shell scales it with the
// screen as it scales the rest of the panel.
constexpr int32_t kPreviewMaxWidth = 192;

// k for a frame width pixels wide (1 for a width or a maximum below 1).
int32_t PreviewFactor(int32_t width, int32_t maxWidth);

// Makes target the reduction of source (32 bits a pixel, the fourth byte 0). Returns
// false, target then empty, when source is empty or the reduction has no pixel.
bool ReducePicture(const TkoPictureView& source, int32_t maxWidth, TkoPicture& target);
