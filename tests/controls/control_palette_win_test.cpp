// Pictures for the palette through GDI: under high contrast a new bitmap in the two
// button colours, otherwise the picture itself.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "controls/control_palette_win.h"
#include "controls/ko_progress_bar_win.h"
#include "controls/ko_slider_win.h"
#include "controls/search_bar_win.h"
#include "support/window_pixel_win.h"

namespace {
BITMAPINFO TopDown32(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

TGdiObject<HBITMAP> Picture(const std::vector<uint32_t>& pixels, int width, int height) {
  BITMAPINFO info = TopDown32(width, height);
  void* bits = nullptr;
  TGdiObject<HBITMAP> picture(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (bits != nullptr) std::copy(pixels.begin(), pixels.end(), static_cast<uint32_t*>(bits));
  return picture;
}

// A dark scheme (white text on a black window) for as long as it lives.
class TDarkScheme {
public:
  TDarkScheme() {
    for (size_t i = 0; i < std::size(kElements); ++i) FKept[i] = GetSysColor(kElements[i]);
    const COLORREF dark[] = {RGB(0, 0, 0), RGB(255, 255, 255)};
    SetSysColors(static_cast<int>(std::size(kElements)), kElements, dark);
  }
  ~TDarkScheme() { SetSysColors(static_cast<int>(std::size(kElements)), kElements, FKept); }

private:
  static constexpr INT kElements[] = {COLOR_WINDOW, COLOR_WINDOWTEXT};
  COLORREF FKept[std::size(kElements)]{};
};

int PixelsOfColour(HWND window, COLORREF colour) {
  UpdateWindow(window);
  RECT client{};
  GetClientRect(window, &client);
  const HDC dc = GetDC(window);
  int found = 0;
  for (LONG y = 0; y < client.bottom; ++y)
    for (LONG x = 0; x < client.right; ++x) found += GetPixel(dc, x, y) == colour ? 1 : 0;
  ReleaseDC(window, dc);
  return found;
}

std::vector<uint32_t> Pixels(HBITMAP picture, int width, int height) {
  BITMAPINFO info = TopDown32(width, height);
  std::vector<uint32_t> pixels(static_cast<size_t>(width * height));
  const TMemoryDC dc;
  GetDIBits(dc.Get(), picture, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
  return pixels;
}
}  // namespace

TEST(ControlPaletteWin, HighContrastPicturesAreTheGlyphInButtonTextOnButtonFace) {
  const std::vector<uint32_t> glyph{0xFFFFFF, 0x606878, 0xB0B8C8, 0xFFFFFF};
  TControlPalette contrast;
  contrast.HighContrast = true;
  contrast.ButtonFace = 0x000000;  // black face
  contrast.ButtonText = 0x00FFFF;  // yellow text (0x00BBGGRR)
  TGdiObject<HBITMAP> masked = PictureForPalette(Picture(glyph, 2, 2), contrast);
  ASSERT_TRUE(masked);
  EXPECT_EQ(Pixels(masked.Get(), 2, 2), (std::vector<uint32_t>{0x000000, 0xFFFF00, 0xFFFF00, 0x000000}));

  TGdiObject<HBITMAP> original = Picture(glyph, 2, 2);
  const HBITMAP handle = original.Get();
  TGdiObject<HBITMAP> kept = PictureForPalette(std::move(original), TControlPalette{});
  EXPECT_EQ(kept.Get(), handle) << "the design's palette keeps the picture";
  EXPECT_EQ(Pixels(kept.Get(), 2, 2), glyph);
}

// A scheme's palette reaches the painting: the bar's body, played part and frame, the
// slider's thumb, each in its own colour of the scheme.
TEST(ControlPaletteWin, TheBarAndTheSliderPaintInTheirPalette) {
  const HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 300, 60, nullptr, nullptr,
                                      nullptr, nullptr);
  ASSERT_NE(parent, nullptr);
  TControlPalette scheme;
  scheme.HighContrast = true;
  scheme.Background = RGB(0, 0, 0);
  scheme.BarFrame = RGB(255, 255, 0);
  scheme.BarPlayed = RGB(0, 255, 0);
  scheme.Thumb = RGB(0, 0, 255);
  {
    auto bar = CreateControl<TkoProgressBar>(parent);
    MoveWindow(bar->Handle(), 0, 0, 200, 10, TRUE);
    bar->SetSegments({10});
    bar->SetPosition(5);
    bar->SetPalette(scheme);
    InvalidateRect(bar->Handle(), nullptr, FALSE);
    EXPECT_EQ(PixelOf(bar->Handle(), 0, 0), scheme.BarFrame);
    EXPECT_EQ(PixelOf(bar->Handle(), 50, 5), scheme.BarPlayed);
    EXPECT_EQ(PixelOf(bar->Handle(), 150, 5), scheme.Background);

    auto slider = CreateControl<TkoSlider>(parent);
    MoveWindow(slider->Handle(), 0, 20, 70, 20, TRUE);
    slider->SetPalette(scheme);
    EXPECT_EQ(PixelOf(slider->Handle(), 8, 10), scheme.Thumb) << "the thumb at 0, no picture in it";
  }
  DestroyWindow(parent);
}

// The search field's label and its line of hits are written in the scheme's text
// colour on its window colour, which a dark scheme makes white on black.
TEST(ControlPaletteWin, TheSearchBarsTextsShowInADarkScheme) {
  const TDarkScheme dark;
  const HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 600, 300, nullptr, nullptr,
                                      nullptr, nullptr);
  ASSERT_NE(parent, nullptr);
  {
    TSearchBar bar(parent, TScreenScale());
    bar.SetLabel(L"Find on screen:");
    bar.SetStatus(L"Found: 3");
    bar.ShowAt(0, 0);
    int texts = 0;
    for (HWND text = FindWindowExW(bar.Handle(), nullptr, L"STATIC", nullptr); text != nullptr;
         text = FindWindowExW(bar.Handle(), text, L"STATIC", nullptr)) {
      RECT area{};
      if (!GetClientRect(text, &area) || IsRectEmpty(&area)) continue;  // the list's name, shown nowhere
      EXPECT_GT(PixelsOfColour(text, RGB(255, 255, 255)), 20) << "text " << texts << " is not written in white";
      ++texts;
    }
    EXPECT_EQ(texts, 2);
  }
  DestroyWindow(parent);
}
