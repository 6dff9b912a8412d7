#pragma once
// The picture as a canvas takes it: what changed since the last display frame, and
// those pixels in the canvas's byte order (red, green, blue, opaque alpha).
#include <cstdint>
#include <vector>

#include "playback/ko_picture.h"
#include "playback/picture_layout.h"

// The part of the picture to copy at the next display frame: the box around every area
// added since the last take, cut to the picture.
class TDirtyRegion {
public:
  void SetBounds(int32_t width, int32_t height);
  void AddAll() { Add({0, 0, FWidth, FHeight}); }
  // An area partly or wholly outside the picture adds only what lies inside.
  void Add(const TkoBox& box);
  bool Empty() const { return FBox.Width <= 0 || FBox.Height <= 0; }
  // The box, and nothing afterwards.
  TkoBox Take();

private:
  int32_t FWidth = 0;
  int32_t FHeight = 0;
  TkoBox FBox;
};

// Canvas pixels of a whole picture, rows of width x 4 bytes.
class TRgbaPicture {
public:
  // Makes room for a picture of that size; the pixels start opaque black.
  void Resize(int32_t width, int32_t height);
  // Copies box (inside both pictures) from picture (depth 24 or 32, blue first).
  void CopyFrom(const TkoPictureView& picture, const TkoBox& box);
  const uint8_t* Data() const { return FPixels.data(); }
  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  uint32_t PixelAt(int32_t x, int32_t y) const;  // 0xRRGGBBAA

private:
  std::vector<uint8_t> FPixels;
  int32_t FWidth = 0;
  int32_t FHeight = 0;
};
