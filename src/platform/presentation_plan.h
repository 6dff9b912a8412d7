#pragma once
// Which parts of the picture go where in the window, and how: the copies the GDI
// presenter makes for a whole frame and for the areas under the pointer. Pure
// arithmetic over picture_layout.h.
#include <cstdint>

#include "playback/picture_layout.h"

// One copy from the picture to the window.
struct TkoBlit {
  TkoBox Source;  // in picture pixels, inside the picture
  TkoBox Target;  // in client pixels
  // Source and target sizes differ (the picture is shown reduced).
  bool Stretch = false;
  // Stretched with the smoothing (halftone) filter.
  bool Smooth = false;
  bool operator==(const TkoBlit&) const = default;
};

struct TkoBlits {
  int32_t Count = 0;
  TkoBlit Items[2];
};

// The whole picture of size frame to the placement's origin and shown size; smoothed
// only when scaled and the film runs at most 5 frames per second.
TkoBlit WholeFrameBlit(TkoSize frame, const TkoPicturePlacement& placement, uint8_t framesPerSecond);

// The areas under the pointer's old and new positions (cursor the largest cursor
// size): one copy covering both when they overlap, else the old one first. Each area
// is cut to the picture first, so nothing is read from outside it; an area wholly
// outside (as right after a segment start, where both positions lie off the picture)
// is left out. Scaled copies are always smoothed.
TkoBlits CursorAreaBlits(TkoPoint oldPosition, TkoPoint newPosition, TkoSize cursor, TkoSize frame,
                         const TkoPicturePlacement& placement);
