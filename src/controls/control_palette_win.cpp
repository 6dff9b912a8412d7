#include "controls/control_palette_win.h"

#include <vector>

namespace {
int SystemIndex(TSystemColour colour) {
  switch (colour) {
    case TSystemColour::kWindow: return COLOR_WINDOW;
    case TSystemColour::kWindowText: return COLOR_WINDOWTEXT;
    case TSystemColour::kHighlight: return COLOR_HIGHLIGHT;
    case TSystemColour::kHighlightText: return COLOR_HIGHLIGHTTEXT;
    case TSystemColour::kButtonFace: return COLOR_BTNFACE;
    case TSystemColour::kButtonText: return COLOR_BTNTEXT;
  }
  return COLOR_WINDOW;
}

bool HighContrastOn() {
  HIGHCONTRASTW settings{};
  settings.cbSize = sizeof(settings);
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(settings), &settings, 0) &&
         (settings.dwFlags & HCF_HIGHCONTRASTON) != 0;
}
}  // namespace

TControlPalette CurrentControlPalette() {
  return ControlPalette(HighContrastOn(), [](TSystemColour colour) { return GetSysColor(SystemIndex(colour)); });
}

TGdiObject<HBITMAP> PictureForPalette(TGdiObject<HBITMAP> picture, const TControlPalette& palette) {
  BITMAP shape{};
  if (!palette.HighContrast || !picture || GetObjectW(picture.Get(), sizeof(shape), &shape) == 0) return picture;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = shape.bmWidth;
  info.bmiHeader.biHeight = -shape.bmHeight;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<uint32_t> pixels(static_cast<size_t>(shape.bmWidth) * static_cast<size_t>(shape.bmHeight));
  const TMemoryDC dc;
  if (dc.Get() == nullptr ||
      GetDIBits(dc.Get(), picture.Get(), 0, static_cast<UINT>(shape.bmHeight), pixels.data(), &info, DIB_RGB_COLORS) == 0)
    return picture;
  MaskPicture(pixels, palette.ButtonFace, palette.ButtonText);
  void* bits = nullptr;
  TGdiObject<HBITMAP> masked(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!masked || bits == nullptr) return picture;
  std::copy(pixels.begin(), pixels.end(), static_cast<uint32_t*>(bits));
  return masked;
}
