#include "playback/picture_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "film/round_half_even.h"
#include "playback/saturate.h"

namespace {
int32_t Rounded(double value) {
  return static_cast<int32_t>(std::clamp<int64_t>(RoundHalfEven(value), INT32_MIN, INT32_MAX));
}

// Whether shown is frame enlarged by scale, a whole number of at least 2.
bool IsWholeFactor(TkoSize frame, TkoSize shown, float scale) {
  if (!(scale >= 2 && scale < 65536) || scale != std::floor(scale)) return false;
  const auto factor = static_cast<int64_t>(scale);
  return shown.Width == frame.Width * factor && shown.Height == frame.Height * factor;
}

// Places a span of length size inside a screen of length screen, starting at start.
int64_t KeepOnScreen(int64_t start, int64_t size, int32_t screen) {
  if (start + size > screen) start = screen - size;
  return std::max<int64_t>(start, 0);
}
}  // namespace

TkoSize AvailableArea(const TkoRect& client, bool panelShown, int32_t panelHeight) {
  return {SaturateToInt32(int64_t{client.Right} - client.Left + 1),
          SaturateToInt32(int64_t{client.Bottom} - client.Top + 1 - (panelShown ? panelHeight : 0))};
}

TkoWindowGrowth PlanWindowGrowth(TkoSize frame, TkoSize available, const TkoRect& window, TkoSize screen) {
  const int64_t dw = int64_t{frame.Width} - available.Width;
  const int64_t dh = int64_t{frame.Height} - available.Height;
  if (dw <= 0 && dh <= 0) return {};
  const int64_t width = int64_t{window.Right} - window.Left + 1 + std::max<int64_t>(dw, 0);
  const int64_t height = int64_t{window.Bottom} - window.Top + 1 + std::max<int64_t>(dh, 0);
  if (width > screen.Width || height > screen.Height) return {TkoWindowAction::kMaximise, {}};
  // Integer division truncates towards zero, as the centring wants.
  const int64_t x = (int64_t{window.Left} + window.Right) / 2 - width / 2;
  const int64_t y = (int64_t{window.Top} + window.Bottom) / 2 - height / 2;
  const int32_t left = SaturateToInt32(KeepOnScreen(x, width, screen.Width));
  const int32_t top = SaturateToInt32(KeepOnScreen(y, height, screen.Height));
  return {TkoWindowAction::kMoveAndResize, {left, top, SaturateToInt32(width), SaturateToInt32(height)}};
}

TkoPicturePlacement PlacePicture(TkoSize frame, TkoSize available) {
  return PlacePicture(frame, available, frame, false);
}

TkoPicturePlacement PlacePicture(TkoSize frame, TkoSize available, TkoSize zoomed, bool fitWindow) {
  const int32_t aw = std::max(available.Width, 0), ah = std::max(available.Height, 0);
  TkoPicturePlacement placement;
  placement.Shown = frame;
  const bool hasArea = frame.Width > 0 && frame.Height > 0;
  if (hasArea && (fitWindow || aw < zoomed.Width || ah < zoomed.Height)) {
    const float sx = static_cast<float>(aw) / static_cast<float>(frame.Width);
    const float sy = static_cast<float>(ah) / static_cast<float>(frame.Height);
    placement.Scale = sx < sy ? sx : sy;
    placement.Shown = {Rounded(static_cast<double>(frame.Width) * placement.Scale),
                       Rounded(static_cast<double>(frame.Height) * placement.Scale)};
  } else if (hasArea && zoomed != frame) {
    placement.Scale = static_cast<float>(zoomed.Width) / static_cast<float>(frame.Width);
    placement.Shown = zoomed;
  }
  placement.Scaling = placement.Shown != frame;
  placement.WholeFactor = placement.Scaling && IsWholeFactor(frame, placement.Shown, placement.Scale);
  placement.Origin = {SaturateToInt32((int64_t{aw} - placement.Shown.Width) / 2),
                      SaturateToInt32((int64_t{ah} - placement.Shown.Height) / 2)};
  return placement;
}

TkoMargins PictureMargins(const TkoPicturePlacement& placement, const TkoRect& client) {
  const int32_t ox = placement.Origin.X, oy = placement.Origin.Y;
  const int32_t pictureBottom = SaturateToInt32(int64_t{oy} + placement.Shown.Height);
  return {{
      {0, 0, client.Right, oy},
      {0, pictureBottom, client.Right, client.Bottom},
      {0, oy, ox, pictureBottom},
      {SaturateToInt32(int64_t{ox} + placement.Shown.Width), oy, client.Right, pictureBottom},
  }};
}

TkoCursorAreas CursorAreas(TkoPoint oldPosition, TkoPoint newPosition, int32_t cursorWidth, int32_t cursorHeight) {
  const int64_t dx = std::llabs(int64_t{newPosition.X} - oldPosition.X);
  const int64_t dy = std::llabs(int64_t{newPosition.Y} - oldPosition.Y);
  if (dx < cursorWidth && dy < cursorHeight) {
    return {1,
            {{std::min(oldPosition.X, newPosition.X), std::min(oldPosition.Y, newPosition.Y),
              SaturateToInt32(cursorWidth + dx), SaturateToInt32(cursorHeight + dy)}}};
  }
  return {2,
          {{oldPosition.X, oldPosition.Y, cursorWidth, cursorHeight},
           {newPosition.X, newPosition.Y, cursorWidth, cursorHeight}}};
}

TkoBox FrameBoxToWindow(const TkoBox& box, const TkoPicturePlacement& placement) {
  const TkoPoint o = placement.Origin;
  if (!placement.Scaling)
    return {SaturateToInt32(int64_t{o.X} + box.X), SaturateToInt32(int64_t{o.Y} + box.Y), box.Width, box.Height};
  const double scale = placement.Scale;
  return {Rounded(box.X * scale + o.X), Rounded(box.Y * scale + o.Y), Rounded(box.Width * scale),
          Rounded(box.Height * scale)};
}
