#pragma once
// GDI objects for a screen at any scale: pens for lines and outlines wider than one
// pixel, and the panel's pictures at the screen's scale.
#include <windows.h>

#include <cstdint>

#include "platform/gdi_holders_win.h"
#include "playback/screen_scale.h"

// A pen for lines and outlines `width` pixels wide. At width 1 (and below) the design's
// plain solid pen; wider, one whose lines end flat and whose rectangles keep their
// outline inside their bounds, as a 1-pixel outline lies. Empty when the system
// cannot make it.
TGdiObject<HPEN> CreateLinePen(COLORREF colour, int32_t width);

// A copy of the stock font `stock` (DEFAULT_GUI_FONT, SYSTEM_FONT) for a screen at
// `scale`. The stock fonts are made for the system's scale; a screen at another gets a
// copy scaled by the two scales' ratio. Empty while the stock font fits the screen (or
// when no copy can be made): use the stock font itself then.
TGdiObject<HFONT> StockFontForScale(int stock, const TScreenScale& scale);

// The bitmap resource `name` (a panel picture) for a square of `size` pixels on a screen
// at `scale`: the picture drawn for the nearest scale at or above the screen's
// (scaled_pictures.h) as it is when it has that size, else reduced smoothly to it. The
// design's picture is taken when the scaled one is missing. Empty when no picture can
// be loaded.
TGdiObject<HBITMAP> LoadScaledPicture(const wchar_t* name, int32_t size, const TScreenScale& scale);
