#pragma once
// The main window's arithmetic: where the segment list and the bottom panel go, the
// minimum size while the user drags, the placement saved for full screen and restored
// after it, and the bottom panel that shows itself near the bottom edge and slides out
// of view in full screen while it is switched off. The Windows side moves, shows and
// hides the windows and runs the panel timer as these results say. Lengths are the
// design's at 96 DPI and multiplied by the screen's scale (`scale`, 96 DPI unless
// given): at 200 % the panel is 80 high and the segment list 800 wide.
#include <cstdint>

#include "session/shell_state.h"
#include "playback/picture_layout.h"
#include "playback/screen_scale.h"

constexpr int32_t kSegmentListWidth = 400;
constexpr int32_t kMinimumWindowWidth = 600;
constexpr int32_t kMinimumWindowHeight = 400;
// The panel shows itself while the mouse is closer than this to the client area's
// bottom edge.
constexpr int32_t kPanelShowZone = 16;
constexpr uintptr_t kPanelTimerId = 1;
constexpr uint32_t kPanelTimerPeriodMs = 40;
constexpr int32_t kPanelSlideStep = 2;

// What to do with the bottom panel.
enum class TPanelAction : uint8_t {
  kDock,          // clear the sliding flag; move it to Panel and show it
  kHide,          // hide it at once
  kStartSliding,  // (re)start the panel timer and set the sliding flag
};

struct TChildLayout {
  bool SegmentListShown = false;
  TkoBox SegmentList;  // when shown
  TPanelAction Panel = TPanelAction::kHide;
  TkoBox PanelBox;  // the docked place, for kDock
};

// The panel's docked place: the bottom 40 pixels across the client area's width.
// client is the client rectangle as GetClientRect gives it (left and top 0).
TkoBox DockedPanelBox(const TkoRect& client, const TScreenScale& scale = TScreenScale());

// How a hidden or visible panel leaves the view with the panel switched off: at once,
// unless it is visible in full screen, where it slides out.
TPanelAction PanelHiding(bool panelVisible, bool fullScreen);

// The children after a command, a size change or a toggle: the segment list at 0,0,
// 400 wide, as high as the client area less the panel's 40 when ShowPanel is on; the
// panel docked when ShowPanel is on, else hidden as PanelHiding says.
TChildLayout LayOutChildren(const TkoRect& client, const TShellState& shell, bool panelVisible,
                            const TScreenScale& scale = TScreenScale());

// A mouse move while ShowPanel is off. The client y is the high word of lParam read as
// an unsigned 16-bit number, so a y above the client area is far from the bottom. Docks
// the panel when |client height - y| < 16, else hides it as PanelHiding says.
TPanelAction PanelOnMouseMove(int64_t lParam, const TkoRect& client, bool panelVisible, bool fullScreen,
                              const TScreenScale& scale = TScreenScale());

// One panel timer tick: the panel's top edge moves down by 2 while it is not below the
// client height and the sliding flag is set; otherwise the timer stops and the panel is
// hidden (the flag is cleared).
struct TSlideStep {
  bool Stop = false;
  int32_t NewTop = 0;  // when not stopping
};
TSlideStep PanelSlideStep(int32_t panelTop, int32_t clientHeight, bool sliding,
                          const TScreenScale& scale = TScreenScale());

// The proposed window rectangle while the user drags an edge, grown to at least
// 600 x 400 by moving its right and bottom edges, whichever edge is dragged.
TkoRect EnforceMinimumSize(const TkoRect& proposed, const TScreenScale& scale = TScreenScale());
// The smallest window, 600 x 400, also the first window's size.
TkoSize MinimumWindowSize(const TScreenScale& scale = TScreenScale());

// The placement saved on entering full screen: the window rectangle's left, top, width
// and height, and the current ShowPanel.
TSavedPlacement SavePlacement(const TkoRect& window, bool showPanel);

// The window box to restore on leaving full screen: X and Y not above 0 become 0, a
// width not above 0 becomes 600 and a height not above 0 becomes 400. ShowPanel goes
// back to saved.ShowPanel.
TkoBox RestoredWindowBox(const TSavedPlacement& saved, const TScreenScale& scale = TScreenScale());
