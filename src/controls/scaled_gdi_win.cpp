#include "controls/scaled_gdi_win.h"

#include <string>

#include "controls/scaled_pictures.h"
#include "platform/screen_dpi_win.h"

namespace {
TGdiObject<HBITMAP> LoadBitmapResource(const std::wstring& name) {
  return TGdiObject<HBITMAP>(
      static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), name.c_str(), IMAGE_BITMAP, 0, 0, 0)));
}

// A copy of picture (width x height) in a 32-bit bitmap of size x size, made with the
// smoothing filter.
TGdiObject<HBITMAP> Resized(HBITMAP picture, int32_t width, int32_t height, int32_t size) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  TGdiObject<HBITMAP> result(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  const TMemoryDC from, to;
  if (!result || from.Get() == nullptr || to.Get() == nullptr) return {};
  {
    const TSelection source(from.Get(), picture);
    const TSelection target(to.Get(), result.Get());
    SetStretchBltMode(to.Get(), HALFTONE);
    SetBrushOrgEx(to.Get(), 0, 0, nullptr);
    StretchBlt(to.Get(), 0, 0, size, size, from.Get(), 0, 0, width, height, SRCCOPY);
  }
  GdiFlush();
  return result;
}
}  // namespace

TGdiObject<HPEN> CreateLinePen(COLORREF colour, int32_t width) {
  if (width <= 1) return TGdiObject<HPEN>(CreatePen(PS_SOLID, 1, colour));
  const LOGBRUSH brush{BS_SOLID, colour, 0};
  constexpr DWORD kStyle = PS_GEOMETRIC | PS_INSIDEFRAME | PS_ENDCAP_FLAT | PS_JOIN_MITER;
  return TGdiObject<HPEN>(ExtCreatePen(kStyle, static_cast<DWORD>(width), &brush, 0, nullptr));
}

TGdiObject<HFONT> StockFontForScale(int stock, const TScreenScale& scale) {
  const int32_t systemDpi = SystemDpi();
  LOGFONTW font{};
  if (scale.Dpi() == systemDpi || systemDpi <= 0 || GetObjectW(GetStockObject(stock), sizeof(font), &font) == 0)
    return {};
  font.lfHeight = MulDiv(font.lfHeight, scale.Dpi(), systemDpi);
  font.lfWidth = MulDiv(font.lfWidth, scale.Dpi(), systemDpi);
  return TGdiObject<HFONT>(CreateFontIndirectW(&font));
}

TGdiObject<HBITMAP> LoadScaledPicture(const wchar_t* name, int32_t size, const TScreenScale& scale) {
  TGdiObject<HBITMAP> picture = LoadBitmapResource(ScaledPictureName(name, PictureScaleFor(scale)));
  if (!picture) picture = LoadBitmapResource(name);
  BITMAP shape{};
  if (!picture || GetObjectW(picture.Get(), sizeof(shape), &shape) == 0) return picture;
  if (shape.bmWidth == size && shape.bmHeight == size) return picture;
  TGdiObject<HBITMAP> resized = Resized(picture.Get(), shape.bmWidth, shape.bmHeight, size);
  return resized ? std::move(resized) : std::move(picture);
}
