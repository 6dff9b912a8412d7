#include "session/menu_state.h"

namespace {
constexpr int32_t kFileLoad = 0, kFileProperties = 1;
constexpr int32_t kActionsPlay = 0, kActionsPause = 1, kActionsStop = 2, kActionsSegments = 4, kActionsPrev = 5,
                  kActionsNext = 6;
constexpr int32_t kViewPanel = 0, kViewFullScreen = 1;
constexpr int32_t kContextLoad = 0, kContextPlay = 2, kContextPause = 3, kContextStop = 4, kContextSegments = 6,
                  kContextPrev = 7, kContextNext = 8, kContextPanel = 10, kContextFullScreen = 11;

class TMenuStateBuilder {
public:
  void Enable(TMenuId menu, int32_t position, bool enabled) { Item(menu, position).Enabled = enabled; }
  void Check(TMenuId menu, int32_t position, bool checked) { Item(menu, position).Checked = checked; }
  std::vector<TMenuItemState> Take() { return std::move(FItems); }

private:
  TMenuItemState& Item(TMenuId menu, int32_t position) {
    for (TMenuItemState& item : FItems)
      if (item.Menu == menu && item.Position == position) return item;
    return FItems.emplace_back(TMenuItemState{menu, position, std::nullopt, std::nullopt});
  }
  std::vector<TMenuItemState> FItems;
};

void SetTransportChecks(TMenuStateBuilder& b, TPlayState playState) {
  b.Check(TMenuId::kActions, kActionsPlay, playState == psPlaying);
  b.Check(TMenuId::kActions, kActionsPause, playState == psPaused);
  b.Check(TMenuId::kActions, kActionsStop, playState == psStopped);
  b.Check(TMenuId::kContext, kContextPlay, playState == psPlaying);
  b.Check(TMenuId::kContext, kContextPause, playState == psPaused);
  b.Check(TMenuId::kContext, kContextStop, playState == psStopped);
}

void SetSegmentItems(TMenuStateBuilder& b, bool enabled) {
  b.Enable(TMenuId::kFile, kFileProperties, enabled);
  for (const int32_t position : {kActionsPlay, kActionsPause, kActionsStop, kActionsPrev, kActionsNext})
    b.Enable(TMenuId::kActions, position, enabled);
  for (const int32_t position : {kContextPlay, kContextPause, kContextStop, kContextPrev, kContextNext})
    b.Enable(TMenuId::kContext, position, enabled);
}
// The seek commands need a film; the frame steps also a paused picture, Save picture one
// that is shown. Without a segment list they are grayed.
void SetSeekItems(TMenuStateBuilder& b, TPlayState playState, bool hasSegments) {
  constexpr int32_t kFrameSteps[] = {2, 3};  // previous and next frame, among the seek items
  for (int32_t i = 0; i < kSeekItemCount; ++i) {
    const bool frameStep = i == kFrameSteps[0] || i == kFrameSteps[1];
    const bool enabled = hasSegments && (!frameStep || playState == psPaused);
    b.Enable(TMenuId::kActions, kActionsSeekItems + i, enabled);
    b.Enable(TMenuId::kContext, kContextSeekItems + i, enabled);
  }
  const bool pictureShown = hasSegments && playState != psStopped;
  b.Enable(TMenuId::kActions, kActionsSavePicture, pictureShown);
  b.Enable(TMenuId::kContext, kContextSavePicture, pictureShown);
}

// Exporting needs a film and kof-export.exe beside the player; stopped, paused or playing.
void SetExportItems(TMenuStateBuilder& b, const TShellState& shell, bool hasSegments) {
  b.Enable(TMenuId::kFile, kFileExportVideo, hasSegments && shell.ExportAvailable);
  b.Enable(TMenuId::kContext, kContextExportVideo, hasSegments && shell.ExportAvailable);
}

// Find on screen opens for any film: without an index it says how to make one.
void SetFindItem(TMenuStateBuilder& b, bool hasSegments) {
  b.Enable(TMenuId::kActions, kActionsFindOnScreen, hasSegments);
}

void SetResumeItem(TMenuStateBuilder& b, const TShellState& shell, bool hasSegments) {
  b.Enable(TMenuId::kActions, kActionsResume, hasSegments && shell.ResumeOffered);
}

// One of the zoom choices is checked, in View and in the context menu.
void CheckZoomItems(TMenuStateBuilder& b, TPictureZoom zoom) {
  for (int32_t i = 0; i < kZoomItemCount; ++i) {
    const bool chosen = static_cast<int32_t>(zoom) == i;
    b.Check(TMenuId::kView, kViewZoomItems + i, chosen);
    b.Check(TMenuId::kContext, kContextZoomItems + i, chosen);
  }
}
}  // namespace

const TMenuItemState* TMenuStates::Find(TMenuId menu, int32_t position) const {
  for (const TMenuItemState& item : Items)
    if (item.Menu == menu && item.Position == position) return &item;
  return nullptr;
}

TMenuStates ComputeMenuStates(TPlayState playState, const TShellState& shell, std::optional<int32_t> segmentCount) {
  TMenuStateBuilder b;
  const bool loadEnabled = playState == psStopped && shell.NoStartupFilm;
  b.Enable(TMenuId::kFile, kFileLoad, loadEnabled);
  b.Enable(TMenuId::kContext, kContextLoad, loadEnabled);
  SetTransportChecks(b, playState);
  b.Check(TMenuId::kView, kViewPanel, shell.ShowPanel);
  b.Check(TMenuId::kContext, kContextPanel, shell.ShowPanel);
  b.Check(TMenuId::kView, kViewFullScreen, shell.FullScreen);
  b.Check(TMenuId::kContext, kContextFullScreen, shell.FullScreen);
  if (segmentCount) SetSegmentItems(b, *segmentCount >= 1);
  SetSeekItems(b, playState, segmentCount.value_or(0) >= 1);
  SetResumeItem(b, shell, segmentCount.value_or(0) >= 1);
  SetExportItems(b, shell, segmentCount.value_or(0) >= 1);
  SetFindItem(b, segmentCount.value_or(0) >= 1);
  CheckZoomItems(b, shell.Zoom);
  b.Check(TMenuId::kView, kViewSkipIdle, shell.IdleSkipSeconds > 0);

  TMenuStates states;
  states.Items = b.Take();
  states.FullScreenButtonPressed = shell.FullScreen;
  states.SegmentsButtonPressed = shell.SegmentListVisible;
  return states;
}

std::vector<TMenuItemState> SegmentsCheckMarks(bool segmentListVisible) {
  return {{TMenuId::kActions, kActionsSegments, std::nullopt, segmentListVisible},
          {TMenuId::kContext, kContextSegments, std::nullopt, segmentListVisible}};
}
