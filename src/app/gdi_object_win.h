#pragma once
// Owners of GDI resources: each releases what it holds in its destructor.
#include <windows.h>

#include <utility>

// Owns one GDI object (bitmap, font, pen, brush) and deletes it.
template <class Handle>
class TGdiObject {
public:
  TGdiObject() = default;
  explicit TGdiObject(Handle handle) : FHandle(handle) {}
  ~TGdiObject() { Reset(); }
  TGdiObject(TGdiObject&& other) noexcept : FHandle(std::exchange(other.FHandle, nullptr)) {}
  TGdiObject& operator=(TGdiObject&& other) noexcept {
    if (this != &other) {
      Reset();
      FHandle = std::exchange(other.FHandle, nullptr);
    }
    return *this;
  }
  TGdiObject(const TGdiObject&) = delete;
  TGdiObject& operator=(const TGdiObject&) = delete;

  Handle Get() const { return FHandle; }
  explicit operator bool() const { return FHandle != nullptr; }
  // Deletes the object now (the holder is then empty).
  void Reset() {
    if (FHandle != nullptr) DeleteObject(FHandle);
    FHandle = nullptr;
  }

private:
  Handle FHandle = nullptr;
};

// The device context of a window's client area (GetDC), released with its window.
class TWindowDC {
public:
  explicit TWindowDC(HWND window) : FWindow(window), FDC(GetDC(window)) {}
  ~TWindowDC() {
    if (FDC != nullptr) ReleaseDC(FWindow, FDC);
  }
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;

  HDC Get() const { return FDC; }

private:
  HWND FWindow;
  HDC FDC;
};

// Selects an object into a device context and selects the previous one back at the end
// of the scope, so that the object can be deleted afterwards. A null object selects
// nothing.
class TSelection {
public:
  TSelection(HDC dc, HGDIOBJ object) : FDC(dc), FPrevious(object != nullptr ? SelectObject(dc, object) : nullptr) {}
  ~TSelection() {
    if (FPrevious != nullptr) SelectObject(FDC, FPrevious);
  }
  TSelection(const TSelection&) = delete;
  TSelection& operator=(const TSelection&) = delete;

private:
  HDC FDC;
  HGDIOBJ FPrevious;
};
