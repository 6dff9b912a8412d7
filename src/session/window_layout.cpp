#include "session/window_layout.h"

#include <algorithm>
#include <cstdlib>

#include "playback/saturate.h"

namespace {
int32_t ClientHeight(const TkoRect& client) { return SaturateToInt32(int64_t{client.Bottom} - client.Top); }
int32_t ClientWidth(const TkoRect& client) { return SaturateToInt32(int64_t{client.Right} - client.Left); }
}  // namespace

TkoBox DockedPanelBox(const TkoRect& client, const TScreenScale& scale) {
  const int32_t height = scale.Px(kBottomPanelHeight);
  return {0, SaturateToInt32(int64_t{ClientHeight(client)} - height), ClientWidth(client), height};
}

TPanelAction PanelHiding(bool panelVisible, bool fullScreen) {
  return panelVisible && fullScreen ? TPanelAction::kStartSliding : TPanelAction::kHide;
}

TChildLayout LayOutChildren(const TkoRect& client, const TShellState& shell, bool panelVisible,
                            const TScreenScale& scale) {
  TChildLayout layout;
  const int32_t height = ClientHeight(client);
  layout.SegmentListShown = shell.SegmentListVisible;
  if (shell.SegmentListVisible) {
    const int32_t panelHeight = scale.Px(kBottomPanelHeight);
    const int32_t listHeight = shell.ShowPanel ? SaturateToInt32(int64_t{height} - panelHeight) : height;
    layout.SegmentList = {0, 0, scale.Px(kSegmentListWidth), listHeight};
  }
  if (shell.ShowPanel) {
    layout.Panel = TPanelAction::kDock;
    layout.PanelBox = DockedPanelBox(client, scale);
  } else {
    layout.Panel = PanelHiding(panelVisible, shell.FullScreen);
  }
  return layout;
}

TPanelAction PanelOnMouseMove(int64_t lParam, const TkoRect& client, bool panelVisible, bool fullScreen,
                              const TScreenScale& scale) {
  const int64_t y = (static_cast<uint64_t>(lParam) >> 16) & 0xFFFF;
  if (std::llabs(ClientHeight(client) - y) < scale.Px(kPanelShowZone)) return TPanelAction::kDock;
  return PanelHiding(panelVisible, fullScreen);
}

TSlideStep PanelSlideStep(int32_t panelTop, int32_t clientHeight, bool sliding, const TScreenScale& scale) {
  if (panelTop <= clientHeight && sliding)
    return {false, SaturateToInt32(int64_t{panelTop} + scale.Px(kPanelSlideStep))};
  return {true, 0};
}

TkoSize MinimumWindowSize(const TScreenScale& scale) {
  return scale.Size({kMinimumWindowWidth, kMinimumWindowHeight});
}

TkoRect EnforceMinimumSize(const TkoRect& proposed, const TScreenScale& scale) {
  const TkoSize minimum = MinimumWindowSize(scale);
  TkoRect rect = proposed;
  if (int64_t{rect.Right} - rect.Left < minimum.Width) rect.Right = SaturateToInt32(int64_t{rect.Left} + minimum.Width);
  if (int64_t{rect.Bottom} - rect.Top < minimum.Height)
    rect.Bottom = SaturateToInt32(int64_t{rect.Top} + minimum.Height);
  return rect;
}

TSavedPlacement SavePlacement(const TkoRect& window, bool showPanel) {
  return {window.Left, window.Top, SaturateToInt32(int64_t{window.Right} - window.Left),
          SaturateToInt32(int64_t{window.Bottom} - window.Top), showPanel};
}

TkoBox RestoredWindowBox(const TSavedPlacement& saved, const TScreenScale& scale) {
  const TkoSize minimum = MinimumWindowSize(scale);
  return {std::max(saved.X, 0), std::max(saved.Y, 0), saved.Width > 0 ? saved.Width : minimum.Width,
          saved.Height > 0 ? saved.Height : minimum.Height};
}
