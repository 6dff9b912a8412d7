#pragma once
// The bottom panel (class "koBottomPanel"): the player's control strip along the bottom
// of the main window. Seven bitmap buttons (Play and Pause sharing one place, Stop,
// Segments, Previous, Next, Full screen), the segmented progress bar, the speed and
// volume sliders, a tooltip for each, and a slanted information strip with the
// segment's picture format and the time line, the segment title and the volume.
//
// The player holds the panel; the panel's window carries it in its window data, and
// goes with the main window. Until the window is made, and once it is gone, the calls
// below do nothing. The buttons run the player's commands, the sliders change speed and
// volume, and a click on the progress bar starts the segment under the mouse.
#include <windows.h>

#include <cstdint>
#include <memory>

#include "playback/play_state.h"
#include "playback/screen_scale.h"

class TWinPlayer;
class TUiTexts;
struct TBottomPanelState;

class TBottomPanel {
public:
  explicit TBottomPanel(TWinPlayer& player);
  ~TBottomPanel();
  TBottomPanel(const TBottomPanel&) = delete;
  TBottomPanel& operator=(const TBottomPanel&) = delete;

  // Makes the hidden panel as a child of the main window (0, 0, 600 x 100; the main
  // window's layout places it) with all its controls, for the player's screen scale.
  void Create(HWND mainWindow);
  // The panel's window; null when it could not be made, or once it is being destroyed.
  HWND Window() const { return FGoing ? nullptr : FWindow; }

  // One tooltip window for the ten controls, with the texts as they are now.
  void CreateToolTips(const TUiTexts& texts);
  // Gives the ten tooltips the texts as they are now (another language was chosen).
  void UpdateToolTips(const TUiTexts& texts);
  // The screen's scale changed: the panel's font, pens, pictures and controls follow.
  // (The panel's own height is the main window's layout.)
  void SetScale(const TScreenScale& scale);
  // The system's colours or its high contrast changed: the panel paints with the
  // palette of the settings as they are now (panel_colours_win.cpp).
  void Recolour();

  // panel_painting_win.cpp:
  // Repaints background, strip, volume and progress, and shows Play or Pause as the play
  // state says. The segment title is not drawn: the white background wipes it until
  // RefreshSegmentLine draws it again.
  void Redraw();
  // Takes over the current segment's record (format line, title) and redraws, the title
  // included; with no current segment the format and time lines become empty.
  void RefreshSegmentLine();
  // Recomputes position, total and speed label and redraws strip and progress bar; does
  // nothing while the panel is hidden. A segment without a frame rate is left out of
  // the times and told to the user once.
  void RefreshTimeText();
  // Gives the progress bar's strip the film's activity as it is now.
  void RefreshActivityStrip();

  // The panel's button with that command id (CM_PLAY, CM_PAUSE, CM_STOP, CM_SEGMENTS,
  // CM_PREVIOUS, CM_NEXT, CM_FULL_SCREEN); null without a panel or for another id.
  HWND Button(int commandId) const;
  // Presses or releases the Full-screen and Segments toggle buttons.
  void SetToggleButtons(bool fullScreenPressed, bool segmentsPressed);
  // Moves the focus from Play to Pause when the film starts playing, from Pause to Play
  // when it is paused, when the other button has it.
  void MoveButtonFocus(TPlayState newState);
  // The progress bar's window; null without a panel.
  HWND ProgressBar() const;
  // The user drags along the progress bar (the film follows the mouse).
  bool Scrubbing() const;
  // Moves the volume slider by percent (clamped to 0 .. 100), as a drag of its thumb
  // would: the sound's volume and the label follow. Steps in a row count from the value
  // asked for before, not the one the slider's pixels round it to.
  void StepVolume(int32_t percent);

private:
  template <class Pane>
  friend LRESULT PaneProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, const char* paneName);
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Message(UINT message, WPARAM wParam, LPARAM lParam);
  void WindowGone();
  void RunCommand(int command);

  TWinPlayer& FPlayer;
  HWND FWindow = nullptr;
  bool FGoing = false;  // from WM_DESTROY on
  // The controls and what the panel draws with, from WM_CREATE until the window is gone.
  std::unique_ptr<TBottomPanelState> FState;
  // The volume the keys and the wheel asked for last, and what the slider made of it.
  int32_t FVolumeAsked = -1, FVolumeSettled = -1;
};
