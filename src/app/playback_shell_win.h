#pragma once
// What the playback engine and the frame source ask of the Windows shell. Boxes they
// ask for may come in the middle of a tick; they wait in the player's queue and are
// shown when the tick is over, so that no modal loop runs inside a tick.
#include <string>

#include "playback/frame_source.h"
#include "playback/playback_services.h"

class TWinPlayer;

class TWindowsPlaybackShell : public TPlaybackShell {
public:
  explicit TWindowsPlaybackShell(TWinPlayer& player) : FPlayer(player) {}

  void PostNextCommand() override;
  void ShowError(const std::string& text) override;
  void ReportSkippedSegment(int32_t index, const std::string& reason) override;
  void UpdateMenuStates() override;
  // The bottom panel and the segment list (nothing while they do not exist).
  void RedrawPanel() override;
  void RefreshSegmentLine() override;
  void RefreshTimeText() override;
  void SelectSegmentLine(int32_t index) override;
  void MoveButtonFocus(TPlayState newState) override;
  void AcceptDroppedFiles(bool accept) override;
  bool IsFullScreen() const override;
  void ToggleFullScreen() override;
  void SavePlacement() override;
  TScreenSize ScreenSize() const override;
  void InvalidateMainWindow() override;
  void DestroyMainWindow() override;

  // Whether the bottom panel takes the lowest 40 pixels of the client area: while it
  // exists and is switched on (shown near the bottom edge while switched off, it lies
  // over the picture).
  bool PanelShown() const;

private:
  TWinPlayer& FPlayer;
};

class TWindowsFrameHost : public TFrameSourceHost {
public:
  explicit TWindowsFrameHost(TWinPlayer& player) : FPlayer(player) {}

  // The screen's bits per pixel.
  int32_t DisplayDepth() const override;
  // "WrongDisplaySettings" with the depth (no owner, caption "Error"), then the main
  // window is minimised; both once the tick, if any, is over.
  void UnsupportedDepth(int32_t depth) override;
  // The damage text in a box captioned "Warning", once the tick is over; playback
  // goes on meanwhile.
  void DamagedRecord(const std::string& text) override;

private:
  TWinPlayer& FPlayer;
};

// Asks for the waiting boxes to be shown: at once when no tick runs, else by a
// posted message after the tick.
void RequestBoxes(TWinPlayer& player);
