#pragma once
// The control palette (control_palette.h) for the system's settings as they are now,
// and pictures recoloured for it.
#include <windows.h>

#include "controls/control_palette.h"
#include "platform/gdi_holders_win.h"

// High contrast as SystemParametersInfo(SPI_GETHIGHCONTRAST) tells it, and the scheme's
// colours from GetSysColor. Cheap enough to ask at every repaint.
TControlPalette CurrentControlPalette();

// Under high contrast a copy of picture in the palette's button colours (MaskPicture);
// otherwise (or when no copy can be made) the picture itself.
TGdiObject<HBITMAP> PictureForPalette(TGdiObject<HBITMAP> picture, const TControlPalette& palette);
