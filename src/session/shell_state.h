#pragma once
// The shell's own state: which panels are on, full screen, and the window placement to
// go back to. One instance lives as long as the main window; only the shell changes it
// (the playback engine asks the shell to toggle full screen).
#include <cstdint>

#include "playback/picture_zoom.h"

// The window placement saved on entering full screen or starting playback from the
// stopped state.
struct TSavedPlacement {
  int32_t X = 0;
  int32_t Y = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  bool ShowPanel = false;
  bool operator==(const TSavedPlacement&) const = default;
};

struct TShellState {
  // The bottom panel is switched on.
  bool ShowPanel = true;
  bool FullScreen = false;
  bool SegmentListVisible = false;
  // The start-up file held no film; while stopped, Load is enabled.
  bool NoStartupFilm = false;
  TSavedPlacement SavedPlacement;
  // With the panel switched off: the panel timer is sliding the shown panel out of view.
  bool PanelSliding = false;
  // The film open has a place to go back to (Actions > Resume).
  bool ResumeOffered = false;
  // How large the film's picture is shown (View > Zoom); holds until the player closes.
  TPictureZoom Zoom = TPictureZoom::kScreenScale;
  // Idle stretches at least this many seconds long are skipped while playing; 0: off
  // (View > Skip idle stretches, /skipidle).
  int32_t IdleSkipSeconds = 0;
  // kof-export.exe is beside the player, so File > Export video can run it.
  bool ExportAvailable = false;
};
