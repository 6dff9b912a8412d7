#pragma once
// Which menu items are enabled and checked, decided from the transport and shell state.
// The Windows side applies the result to the menu bar's drop-downs and the context menu
// by position after every command, every transport state change and at window creation;
// the context menu therefore always agrees with the menu bar.
#include <cstdint>
#include <optional>
#include <vector>

#include "session/menu_items.h"
#include "session/shell_state.h"
#include "playback/play_state.h"

struct TMenuItemState {
  TMenuId Menu;
  int32_t Position;
  // Absent: the item keeps its current state.
  std::optional<bool> Enabled;
  std::optional<bool> Checked;
};

struct TMenuStates {
  // Every item the rule addresses, once each.
  std::vector<TMenuItemState> Items;
  // The bottom panel's full-screen and Segments buttons.
  bool FullScreenButtonPressed = false;
  bool SegmentsButtonPressed = false;

  // The item's entry, or null when the rule leaves the item alone entirely.
  const TMenuItemState* Find(TMenuId menu, int32_t position) const;
};

// segmentCount is the film's number of segments, or absent when no segment list exists
// (the start-up file could not be opened); then Properties and the transport items keep
// their states. Otherwise they are enabled exactly when the film has a segment.
// Load is enabled only while stopped with NoStartupFilm set. The Play, Pause or Stop
// item matching the state is checked, the other two unchecked; Control panel and Full
// screen carry ShowPanel and FullScreen. The Segments items are not addressed. The seek
// items are enabled with a segment (the frame steps only while paused), Save picture
// with a segment while playing or paused; without a segment list they are grayed.
// Resume is enabled with a segment when the shell offers a place to go back to. Skip
// idle stretches is checked while its length is above 0.
TMenuStates ComputeMenuStates(TPlayState playState, const TShellState& shell, std::optional<int32_t> segmentCount);

// The check marks of Actions > Segments and the context menu's Segments, set only by the
// segment list toggle.
std::vector<TMenuItemState> SegmentsCheckMarks(bool segmentListVisible);
