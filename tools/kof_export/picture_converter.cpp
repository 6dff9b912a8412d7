#include "kof_export/picture_converter.h"

#include <cstring>

#include "film/ko_error.h"

PictureConverter::PictureConverter(int32_t fromWidth, int32_t fromHeight, AVPixelFormat toFormat, int32_t toWidth,
                                   int32_t toHeight)
    : FToFormat(toFormat), FFrame(ff::NewVideoFrame(toFormat, toWidth, toHeight)), FFromHeight(fromHeight) {
  const bool bands = toFormat == AV_PIX_FMT_YUV420P && fromWidth == toWidth && fromHeight == toHeight &&
                     fromHeight % 2 == 0;
  if (!bands) {
    FScaler = MakeScaler(fromWidth, fromHeight, toWidth, toHeight);
    return;
  }
  FBand = MakeScaler(fromWidth, kBandRows, fromWidth, kBandRows);
  if (const int32_t rest = fromHeight % kBandRows; rest != 0) FLastBand = MakeScaler(fromWidth, rest, fromWidth, rest);
  FPrevious.Resize(fromWidth, fromHeight, 32);
}

ff::Scaler PictureConverter::MakeScaler(int32_t fromWidth, int32_t fromHeight, int32_t toWidth,
                                        int32_t toHeight) const {
  // Area averaging keeps text legible when scaling down.
  ff::Scaler scaler(sws_getContext(fromWidth, fromHeight, AV_PIX_FMT_BGR0, toWidth, toHeight, FToFormat, SWS_AREA,
                                   nullptr, nullptr, nullptr));
  if (scaler == nullptr) throw EkoError("cannot convert the pictures");
  if (FToFormat != AV_PIX_FMT_YUV420P) return scaler;
  int* inverse = nullptr;
  int* table = nullptr;
  int fromRange = 0, toRange = 0, brightness = 0, contrast = 0, saturation = 0;
  // Keeps full-range RGB in and sets BT.709 in the limited range out.
  if (sws_getColorspaceDetails(scaler.get(), &inverse, &fromRange, &table, &toRange, &brightness, &contrast,
                               &saturation) >= 0)
    sws_setColorspaceDetails(scaler.get(), inverse, fromRange, sws_getCoefficients(SWS_CS_ITU709), 0, brightness,
                             contrast, saturation);
  return scaler;
}

AVFrame* PictureConverter::Convert(const TkoPictureView& canvas) {
  ff::Check(av_frame_make_writable(FFrame.get()), "cannot convert the pictures");
  if (FScaler != nullptr) {
    const uint8_t* const from[] = {canvas.Pixels};
    const int fromStride[] = {canvas.Stride};
    sws_scale(FScaler.get(), from, fromStride, 0, FFromHeight, FFrame->data, FFrame->linesize);
    return FFrame.get();
  }
  for (int32_t top = 0; top < FFromHeight; top += kBandRows) ConvertBand(canvas, top);
  FHavePrevious = true;
  return FFrame.get();
}

void PictureConverter::ConvertBand(const TkoPictureView& canvas, int32_t top) {
  const int32_t rows = std::min(kBandRows, FFromHeight - top);
  if (!BandChanged(canvas, top, rows)) return;
  const uint8_t* const from[] = {canvas.Row(top)};
  const int fromStride[] = {canvas.Stride};
  uint8_t* const to[] = {FFrame->data[0] + static_cast<ptrdiff_t>(top) * FFrame->linesize[0],
                         FFrame->data[1] + static_cast<ptrdiff_t>(top / 2) * FFrame->linesize[1],
                         FFrame->data[2] + static_cast<ptrdiff_t>(top / 2) * FFrame->linesize[2]};
  sws_scale(rows == kBandRows ? FBand.get() : FLastBand.get(), from, fromStride, 0, rows, to, FFrame->linesize);
}

bool PictureConverter::BandChanged(const TkoPictureView& canvas, int32_t top, int32_t rows) {
  const TkoPictureView previous = FPrevious.View();
  const size_t bytes = static_cast<size_t>(previous.Width) * 4;
  int32_t y = 0;
  if (FHavePrevious)
    while (y < rows && std::memcmp(canvas.Row(top + y), previous.Row(top + y), bytes) == 0) ++y;
  if (y == rows) return false;
  for (; y < rows; ++y) std::memcpy(previous.Row(top + y), canvas.Row(top + y), bytes);
  return true;
}
