#pragma once
// One canvas for the pictures of every segment: each picture is placed in the middle
// of the content area (the largest segment's size, at the canvas's top left), black
// around it; the canvas may be a column or row larger than the content (padding to
// even sizes), and that is black too. Pictures are never scaled here.
#include <cstdint>

#include "playback/ko_picture.h"

class Letterbox {
public:
  Letterbox(int32_t canvasWidth, int32_t canvasHeight, int32_t contentWidth, int32_t contentHeight);

  // The picture on the canvas, 32 bits per pixel (blue, green, red, a fourth byte
  // that means nothing). A 32-bit picture as large as the canvas is handed back as it
  // is, without a copy. The view stays valid until the next call.
  const TkoPictureView& Place(const TkoPictureView& picture);

private:
  TkoPicture FCanvas;
  TkoPictureView FView;
  TkoPictureView FPassed;
  int32_t FContentWidth, FContentHeight;
  // The size and depth of the picture last placed; the canvas is cleared when they change.
  int32_t FLastWidth = -1, FLastHeight = -1, FLastDepth = -1;
};
