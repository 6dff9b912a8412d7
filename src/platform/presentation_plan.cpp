#include "platform/presentation_plan.h"

#include <algorithm>
#include <utility>

namespace {
TkoBox ClipToFrame(const TkoBox& box, TkoSize frame) {
  const int64_t left = std::max<int64_t>(box.X, 0), top = std::max<int64_t>(box.Y, 0);
  const int64_t right = std::min<int64_t>(int64_t{box.X} + box.Width, frame.Width);
  const int64_t bottom = std::min<int64_t>(int64_t{box.Y} + box.Height, frame.Height);
  if (right <= left || bottom <= top) return {};
  return {int32_t(left), int32_t(top), int32_t(right - left), int32_t(bottom - top)};
}
}  // namespace

TkoBlit WholeFrameBlit(TkoSize frame, const TkoPicturePlacement& placement, uint8_t framesPerSecond) {
  const TkoBox target{placement.Origin.X, placement.Origin.Y, placement.Scaling ? placement.Shown.Width : frame.Width,
                      placement.Scaling ? placement.Shown.Height : frame.Height};
  const bool enlarged = placement.Shown.Width > frame.Width;
  const bool smooth =
      placement.Scaling && !placement.WholeFactor && (enlarged || SmoothWholeFrame(framesPerSecond));
  return {{0, 0, frame.Width, frame.Height}, target, placement.Scaling, smooth, placement.WholeFactor};
}

TkoBlits CursorAreaBlits(TkoPoint oldPosition, TkoPoint newPosition, TkoSize cursor, TkoSize frame,
                         const TkoPicturePlacement& placement) {
  const TkoCursorAreas areas = CursorAreas(oldPosition, newPosition, cursor.Width, cursor.Height);
  TkoBlits blits;
  for (int32_t i = 0; i < areas.Count; ++i) {
    const TkoBox source = ClipToFrame(areas.Boxes[i], frame);
    if (source.Width == 0) continue;
    blits.Items[blits.Count++] = {source, FrameBoxToWindow(source, placement), placement.Scaling,
                                  placement.Scaling && !placement.WholeFactor, placement.WholeFactor};
  }
  return blits;
}

TkoBlits TkoShownPicture::FrameCopies(const TkoRect& changed, TkoPoint pointer, TkoSize cursor, TkoSize frame,
                                      const TkoPicturePlacement& placement, uint8_t framesPerSecond) {
  const TkoPoint shown = std::exchange(FPointer, pointer);
  if (std::exchange(FWhole, false) || (placement.Scaling && !placement.WholeFactor))
    return {1, {WholeFrameBlit(frame, placement, framesPerSecond)}};
  TkoBlits blits = CursorAreaBlits(shown, pointer, cursor, frame, placement);
  const TkoBox area =
      ClipToFrame({changed.Left, changed.Top, changed.Right - changed.Left, changed.Bottom - changed.Top}, frame);
  if (area.Width > 0)
    blits.Items[blits.Count++] = {area, FrameBoxToWindow(area, placement), placement.Scaling, false,
                                  placement.WholeFactor};
  return blits;
}

TkoBlits TkoShownPicture::PointerCopies(TkoPoint to, TkoSize cursor, TkoSize frame,
                                        const TkoPicturePlacement& placement) {
  return CursorAreaBlits(std::exchange(FPointer, to), to, cursor, frame, placement);
}
