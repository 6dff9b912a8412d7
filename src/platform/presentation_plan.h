#pragma once
// Which parts of the picture go where in the window, and how: the copies the GDI
// presenter makes for a frame and for the areas under the pointer. Pure arithmetic
// over picture_layout.h.
#include <cstdint>

#include "playback/picture_layout.h"

// One copy from the picture to the window.
struct TkoBlit {
  TkoBox Source;  // in picture pixels, inside the picture
  TkoBox Target;  // in client pixels
  // Source and target sizes differ (the picture is shown reduced or enlarged).
  bool Stretch = false;
  // Stretched with the smoothing (halftone) filter.
  bool Smooth = false;
  // Stretched by a whole factor, each source pixel repeated (nearest neighbour).
  bool Nearest = false;
  bool operator==(const TkoBlit&) const = default;
};

struct TkoBlits {
  int32_t Count = 0;
  TkoBlit Items[3];
};

// The whole picture of size frame to the placement's origin and shown size. A reduced
// picture is smoothed only when the film runs at most 5 frames per second; one enlarged
// by a whole factor keeps its pixels sharp (Nearest), one enlarged by another factor is
// always smoothed.
TkoBlit WholeFrameBlit(TkoSize frame, const TkoPicturePlacement& placement, uint8_t framesPerSecond);

// The areas under the pointer's old and new positions (cursor the largest cursor
// size): one copy covering both when they overlap, else the old one first. Each area
// is cut to the picture first, so nothing is read from outside it; an area wholly
// outside (as right after a segment start, where both positions lie off the picture)
// is left out. Scaled copies are smoothed, unless the picture is enlarged by a whole
// factor (Nearest).
TkoBlits CursorAreaBlits(TkoPoint oldPosition, TkoPoint newPosition, TkoSize cursor, TkoSize frame,
                         const TkoPicturePlacement& placement);

// What the window shows of the picture, so that a frame copies only what changed since
// the window last showed it: the area the records changed and the pointer's areas,
// where it was shown last and where it is now. Copying a frame whole costs far more
// (under Wine it is most of a tick at MAX speed), and a typical frame changes a few words.
class TkoShownPicture {
public:
  // The window no longer shows the picture (painted over, laid out anew, another
  // picture): the next frame is copied whole.
  void Invalidate() { FWhole = true; }
  // The copies for a frame whose picture changed in changed (picture pixels; empty for
  // none) since the last frame's copies, with the pointer (cursor its largest size) now
  // at pointer: the whole picture (WholeFrameBlit) after Invalidate and while the
  // picture is scaled by anything but a whole factor, else the changed area and the pointer's two areas, each cut to
  // the picture and copied unscaled (or, enlarged by a whole factor, each pixel
  // repeated).
  TkoBlits FrameCopies(const TkoRect& changed, TkoPoint pointer, TkoSize cursor, TkoSize frame,
                       const TkoPicturePlacement& placement, uint8_t framesPerSecond);
  // The copies when only the pointer moved to `to` (CursorAreaBlits): from where it was
  // last shown, not from where the picture had it last, since a frame the engine did
  // not show (it lags behind) may have moved it unseen. It is shown at to then.
  TkoBlits PointerCopies(TkoPoint to, TkoSize cursor, TkoSize frame, const TkoPicturePlacement& placement);

private:
  bool FWhole = true;
  TkoPoint FPointer;  // where the pointer was shown last
};
