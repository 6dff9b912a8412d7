#include "kof_export/letterbox.h"

#include <cstring>

Letterbox::Letterbox(int32_t canvasWidth, int32_t canvasHeight, int32_t contentWidth, int32_t contentHeight)
    : FCanvas(canvasWidth, canvasHeight, 32), FView(FCanvas.View()), FContentWidth(contentWidth),
      FContentHeight(contentHeight) {}

const TkoPictureView& Letterbox::Place(const TkoPictureView& picture) {
  if (picture.Depth == 32 && picture.Width == FView.Width && picture.Height == FView.Height) {
    FPassed = picture;
    return FPassed;
  }
  if (picture.Width != FLastWidth || picture.Height != FLastHeight || picture.Depth != FLastDepth) {
    FCanvas.Clear();
    FLastWidth = picture.Width;
    FLastHeight = picture.Height;
    FLastDepth = picture.Depth;
  }
  const int32_t left = (FContentWidth - picture.Width) / 2, top = (FContentHeight - picture.Height) / 2;
  for (int32_t y = 0; y < picture.Height; ++y) {
    const uint8_t* from = picture.Row(y);
    uint8_t* to = FView.At(left, top + y);
    if (picture.Depth == 32) {
      std::memcpy(to, from, static_cast<size_t>(picture.Width) * 4);
      continue;
    }
    for (int32_t x = 0; x < picture.Width; ++x, from += 3, to += 4) std::memcpy(to, from, 3);
  }
  return FView;
}
