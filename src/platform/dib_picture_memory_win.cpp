#include "platform/dib_picture_memory_win.h"

#include <cstdint>
#include <cstring>

TkoPictureView TDibPictureMemory::Make(int32_t width, int32_t height, int32_t depth) {
  Release();
  // The view's stride is 32 bits wide.
  if (!IsDrawableDepth(depth) || width <= 0 || height <= 0 || width > INT32_MAX / 4) return {};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // negative: top-down, row 0 first in memory
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  FBitmap.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (FBitmap && bits != nullptr) FSelection = TSelection(FSourceDC.Get(), FBitmap.Get());
  if (!FSelection.Selected()) {
    Release();
    return {};
  }
  const int32_t stride = width * 4;
  std::memset(bits, 0, static_cast<size_t>(stride) * static_cast<size_t>(height));
  FView = {static_cast<uint8_t*>(bits), width, height, stride, 32};
  return FView;
}

void TDibPictureMemory::Release() {
  // GDI may still be reading the bits for a copy it has batched.
  GdiFlush();
  FSelection = TSelection(nullptr, nullptr);  // a selected bitmap cannot be deleted
  FBitmap.Reset();
  FView = {};
}
