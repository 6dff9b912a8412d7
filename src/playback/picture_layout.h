#pragma once
// Where the picture goes in the main window: the area left for it, growing the window
// to fit a new segment, centring, down-scaling with the proportions kept, the margins
// around the picture and the window areas under the pointer. Pure arithmetic; the
// Windows front end applies the results with its window and GDI calls.
#include <cstdint>

#include "playback/ko_picture.h"

// Height of the bottom panel at the foot of the client area.
constexpr int32_t kBottomPanelHeight = 40;

struct TkoSize {
  int32_t Width = 0;
  int32_t Height = 0;
  bool operator==(const TkoSize&) const = default;
};

// A rectangle as position and size.
struct TkoBox {
  int32_t X = 0;
  int32_t Y = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  bool operator==(const TkoBox&) const = default;
};

// The area for the picture: right - left + 1 by bottom - top + 1, less the panel's
// height (40 at 96 DPI) when it is shown. (The + 1 is deliberate: a picture one pixel
// larger than the client area is not reduced.)
TkoSize AvailableArea(const TkoRect& client, bool panelShown, int32_t panelHeight = kBottomPanelHeight);

enum class TkoWindowAction : uint8_t { kNone, kMoveAndResize, kMaximise };

struct TkoWindowGrowth {
  TkoWindowAction Action = TkoWindowAction::kNone;
  // The new window rectangle for kMoveAndResize.
  TkoBox Window;
};

// Whether the window grows to fit a frame that does not fit available (only asked
// while stopped, at a segment start): it grows by what is missing in each direction,
// centred on its old centre and kept on the screen; when the grown window would be
// wider or higher than the screen it is maximised instead. window is the window's
// rectangle with the same +1 rule for its size.
TkoWindowGrowth PlanWindowGrowth(TkoSize frame, TkoSize available, const TkoRect& window, TkoSize screen);

// The picture's place in the available area.
struct TkoPicturePlacement {
  bool Scaling = false;
  // The reduction factor while scaling (single precision, as the layout keeps it).
  float Scale = 1.0f;
  // Size in the window: the shown size while scaling, else the frame's.
  TkoSize Shown;
  TkoPoint Origin;
  // Enlarged by a whole factor (Scale 2, 3, ...): every recorded pixel is an exact
  // Scale x Scale block, so a part of the picture can be copied on its own.
  bool WholeFactor = false;
};

// Centres the frame; when it does not fit, reduces it by the smaller of the two
// ratios (the height's when equal), with sizes rounded halves to even. Never enlarges.
// A frame without area is placed unscaled; a negative available size counts as 0.
TkoPicturePlacement PlacePicture(TkoSize frame, TkoSize available);
// The same for a frame shown at the size zoomed (its recorded size times the screen's
// scale, say) while that fits; a zoomed picture that does not fit is reduced as above,
// by the ratios of the available size to the frame. With fitWindow the picture takes
// those ratios whether it fits or not, so that it fills the area, enlarged too.
TkoPicturePlacement PlacePicture(TkoSize frame, TkoSize available, TkoSize zoomed, bool fitWindow);

// The four parts of the client area (from (0, 0) to (right, bottom) of client) around
// the picture, in the order top, bottom, left, right; an empty one is not filled.
struct TkoMargins {
  TkoRect Parts[4];
};
TkoMargins PictureMargins(const TkoPicturePlacement& placement, const TkoRect& client);

// Frame areas to copy when only the pointer moved: one box covering the old and the
// new pointer area when they overlap, else two (old first).
struct TkoCursorAreas {
  int32_t Count = 0;
  TkoBox Boxes[2];
};
TkoCursorAreas CursorAreas(TkoPoint oldPosition, TkoPoint newPosition, int32_t cursorWidth, int32_t cursorHeight);

// Where a frame box lands in the window: shifted by the origin, or, while scaling,
// scaled and shifted with every value rounded halves to even.
TkoBox FrameBoxToWindow(const TkoBox& box, const TkoPicturePlacement& placement);

// Whole frames are stretched with the smoothing (halftone) filter only for slow films
// of at most 5 frames per second; pointer areas always are.
constexpr bool SmoothWholeFrame(uint8_t framesPerSecond) { return framesPerSecond <= 5; }
