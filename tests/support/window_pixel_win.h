#pragma once
// A window's pixel as it shows on screen, once what it has to paint is painted.
#include <windows.h>

inline COLORREF PixelOf(HWND window, int x, int y) {
  UpdateWindow(window);
  const HDC dc = GetDC(window);
  const COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return colour;
}
