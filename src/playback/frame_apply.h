#pragma once
// The player's per-frame path: a frame record laid straight onto the picture with a
// tight loop over the runs. Same contract and result as ApplyFrameRecord
// (frame_unpack.h), about twice as fast on records of one run per pixel: the position
// is kept as a pointer into the current row, the depth is a template parameter, and
// colour-0 runs that cross rows skip whole rows at once.
#include <cstdint>
#include <span>

#include "playback/frame_unpack.h"
#include "playback/ko_picture.h"

// See ApplyFrameRecord.
TkoFrameStatus LayFrameRecord(std::span<const uint8_t> record, const TkoPictureView& picture);
