#pragma once
// Owners of GDI resources: each releases what it holds in its destructor. They cannot
// be copied; moving hands the resource over and leaves the source empty.
#include <windows.h>

#include <utility>

// A GDI object (bitmap, brush, pen, font), deleted with DeleteObject. It must not be
// selected into a device context when the holder is destroyed.
template <typename THandle>
class TGdiObject {
public:
  TGdiObject() = default;
  // Takes ownership of handle (null: holds nothing).
  explicit TGdiObject(THandle handle) : FHandle(handle) {}
  TGdiObject(TGdiObject&& other) noexcept : FHandle(std::exchange(other.FHandle, nullptr)) {}
  TGdiObject& operator=(TGdiObject&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.FHandle, nullptr));
    return *this;
  }
  TGdiObject(const TGdiObject&) = delete;
  TGdiObject& operator=(const TGdiObject&) = delete;
  ~TGdiObject() { Reset(); }

  // Deletes the object held and takes handle instead.
  void Reset(THandle handle = nullptr) {
    if (FHandle != nullptr) DeleteObject(FHandle);
    FHandle = handle;
  }
  THandle Get() const { return FHandle; }
  explicit operator bool() const { return FHandle != nullptr; }

private:
  THandle FHandle = nullptr;
};

// A memory device context compatible with dc (null: with the screen), deleted with
// DeleteDC. Get() is null when it could not be made.
class TMemoryDC {
public:
  explicit TMemoryDC(HDC dc = nullptr) : FDC(CreateCompatibleDC(dc)) {}
  TMemoryDC(TMemoryDC&& other) noexcept : FDC(std::exchange(other.FDC, nullptr)) {}
  TMemoryDC& operator=(TMemoryDC&& other) noexcept {
    if (this != &other) {
      if (FDC != nullptr) DeleteDC(FDC);
      FDC = std::exchange(other.FDC, nullptr);
    }
    return *this;
  }
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;
  ~TMemoryDC() {
    if (FDC != nullptr) DeleteDC(FDC);
  }

  HDC Get() const { return FDC; }

private:
  HDC FDC;
};

// The device context of a window's client area (GetDC), released to that window
// (ReleaseDC). Get() is null when there is none (for a null or destroyed window).
class TWindowDC {
public:
  explicit TWindowDC(HWND window) : FWindow(window), FDC(window != nullptr ? GetDC(window) : nullptr) {}
  TWindowDC(TWindowDC&& other) noexcept
      : FWindow(std::exchange(other.FWindow, nullptr)), FDC(std::exchange(other.FDC, nullptr)) {}
  TWindowDC& operator=(TWindowDC&& other) noexcept {
    if (this != &other) {
      Release();
      FWindow = std::exchange(other.FWindow, nullptr);
      FDC = std::exchange(other.FDC, nullptr);
    }
    return *this;
  }
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  ~TWindowDC() { Release(); }

  HDC Get() const { return FDC; }
  HWND Window() const { return FWindow; }

private:
  void Release() {
    if (FDC != nullptr) ReleaseDC(FWindow, FDC);
    FDC = nullptr;
  }

  HWND FWindow;
  HDC FDC;
};

// The screen's device context (GetDC of no window), released with ReleaseDC. Get() is
// null when the system gives none.
class TScreenDC {
public:
  TScreenDC() : FDC(GetDC(nullptr)) {}
  TScreenDC(const TScreenDC&) = delete;
  TScreenDC& operator=(const TScreenDC&) = delete;
  ~TScreenDC() {
    if (FDC != nullptr) ReleaseDC(nullptr, FDC);
  }

  HDC Get() const { return FDC; }

private:
  HDC FDC;
};

// Selects an object into a device context and selects the previous one back when it
// ends, so that the object can be deleted afterwards. Nothing is selected for a null
// context or object.
class TSelection {
public:
  TSelection(HDC dc, HGDIOBJ object)
      : FDC(dc), FPrevious(dc != nullptr && object != nullptr ? SelectObject(dc, object) : nullptr) {}
  TSelection(TSelection&& other) noexcept
      : FDC(std::exchange(other.FDC, nullptr)), FPrevious(std::exchange(other.FPrevious, nullptr)) {}
  TSelection& operator=(TSelection&& other) noexcept {
    if (this != &other) {
      Restore();
      FDC = std::exchange(other.FDC, nullptr);
      FPrevious = std::exchange(other.FPrevious, nullptr);
    }
    return *this;
  }
  TSelection(const TSelection&) = delete;
  TSelection& operator=(const TSelection&) = delete;
  ~TSelection() { Restore(); }

  // Whether the object was selected.
  bool Selected() const { return FPrevious != nullptr && FPrevious != HGDI_ERROR; }

private:
  void Restore() {
    if (Selected()) SelectObject(FDC, FPrevious);
    FPrevious = nullptr;
  }

  HDC FDC;
  HGDIOBJ FPrevious;
};

// BeginPaint for a window's WM_PAINT and EndPaint when it ends (which validates the
// window's update region).
class TPaintScope {
public:
  explicit TPaintScope(HWND window) : FWindow(window), FPaint{}, FDC(BeginPaint(window, &FPaint)) {}
  TPaintScope(TPaintScope&& other) noexcept
      : FWindow(std::exchange(other.FWindow, nullptr)), FPaint(other.FPaint), FDC(std::exchange(other.FDC, nullptr)) {}
  TPaintScope& operator=(TPaintScope&& other) noexcept {
    if (this != &other) {
      End();
      FWindow = std::exchange(other.FWindow, nullptr);
      FPaint = other.FPaint;
      FDC = std::exchange(other.FDC, nullptr);
    }
    return *this;
  }
  TPaintScope(const TPaintScope&) = delete;
  TPaintScope& operator=(const TPaintScope&) = delete;
  ~TPaintScope() { End(); }

  // The painting context; null when BeginPaint failed.
  HDC Get() const { return FDC; }
  const PAINTSTRUCT& Paint() const { return FPaint; }

private:
  void End() {
    if (FDC != nullptr) EndPaint(FWindow, &FPaint);
    FDC = nullptr;
  }

  HWND FWindow;
  PAINTSTRUCT FPaint;
  HDC FDC;
};
