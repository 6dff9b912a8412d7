#pragma once
// Where one picture differs from the next: the exact boxes of the changed pixels,
// one per group of changes that touch or nearly touch (within a tile of 16 pixels), so
// that the clock ticking in a corner and a letter typed in the middle are two boxes.
#include <vector>

#include "playback/ko_picture.h"
#include "text/text_box.h"

// Both pictures must have the same size and depth.
std::vector<TTextBox> ChangedAreas(const TkoPictureView& before, const TkoPictureView& after);
