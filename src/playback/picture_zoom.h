#pragma once
// How large the film's picture is shown: the user's zoom choice, on a screen of a given
// scale. A lesson recorded on a 100 % screen looks as it did there when each recorded
// pixel covers s x s screen pixels; the design's rules (growing the window, reducing a
// picture that does not fit, full screen for a frame as large as the screen) then apply
// to that zoomed size.
#include <cstdint>

#include "playback/picture_layout.h"
#include "playback/screen_scale.h"

// In the order of the menus' zoom items.
enum class TPictureZoom : uint8_t {
  kScreenScale,     // a recorded pixel covers s x s screen pixels (the default)
  kOriginalPixels,  // one recorded pixel, one screen pixel
  kFitWindow,       // the largest picture the window holds, enlarged too
};

// The frame's size before it is fitted to the window: its recorded size times s (rounded
// as every scaled length is), or the recorded size for original pixels. Fit window
// grows the window and goes full screen as screen scale does.
TkoSize ZoomedFrameSize(TkoSize frame, TPictureZoom zoom, const TScreenScale& scale);

// Where the frame goes in the available area at this zoom (PlacePicture).
TkoPicturePlacement PlaceZoomedPicture(TkoSize frame, TkoSize available, TPictureZoom zoom,
                                       const TScreenScale& scale);
