#pragma once
// Canvas pictures (32 bits per pixel, blue, green, red) turned into frames of another
// pixel format and size with libswscale: 4:2:0 YUV (BT.709, limited range) for the
// video encoders, or 32-bit pixels scaled down for GIF.
//
// Screens change little from one picture to the next. Without scaling, the picture
// is converted in bands of 16 rows, and only the bands that differ from the picture
// before are converted again; the frame keeps the rest.
#include <cstdint>
#include <vector>

#include "kof_export/ff_holders.h"
#include "playback/ko_picture.h"

class PictureConverter {
public:
  // Throws EkoError when libswscale refuses the conversion.
  PictureConverter(int32_t fromWidth, int32_t fromHeight, AVPixelFormat toFormat, int32_t toWidth,
                   int32_t toHeight);

  // Converts the top-left fromWidth x fromHeight of the canvas. Returns the frame that
  // holds the result; it is reused (made writable again) by the next call.
  AVFrame* Convert(const TkoPictureView& canvas);

private:
  static constexpr int32_t kBandRows = 16;

  ff::Scaler MakeScaler(int32_t fromWidth, int32_t fromHeight, int32_t toWidth, int32_t toHeight) const;
  void ConvertBand(const TkoPictureView& canvas, int32_t top);
  // Whether rows [top, top + rows) differ from the picture before; copies them if so.
  bool BandChanged(const TkoPictureView& canvas, int32_t top, int32_t rows);

  AVPixelFormat FToFormat;
  ff::Frame FFrame;
  int32_t FFromHeight;
  ff::Scaler FScaler;      // the whole picture, when scaling
  ff::Scaler FBand;        // kBandRows rows
  ff::Scaler FLastBand;    // the rows below the last whole band, if any
  TkoPicture FPrevious;    // the picture converted last, in band mode
  bool FHavePrevious = false;
};
