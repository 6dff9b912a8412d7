#pragma once
// Which commands' menu items are enabled and checked, decided by each command's rules in
// the command table from the transport and shell state. The Windows side applies the
// result by command to the menu bar and the context menu, after every command, every
// transport state change and at window creation; the two menus therefore always agree.
#include <cstdint>
#include <optional>
#include <vector>

#include "session/shell_state.h"
#include "playback/play_state.h"

struct TCommandState {
  int32_t Command;
  // Absent: the items keep their current state.
  std::optional<bool> Enabled;
  std::optional<bool> Checked;
};

struct TMenuStates {
  // Every command with an item that a rule addresses, once each.
  std::vector<TCommandState> Items;
  // The bottom panel's full-screen and Segments buttons.
  bool FullScreenButtonPressed = false;
  bool SegmentsButtonPressed = false;

  // The command's entry, or null when no rule addresses its items.
  const TCommandState* Find(int32_t command) const;
};

// segmentCount is the film's number of segments, or absent when no segment list exists
// (the start-up file could not be opened).
TMenuStates ComputeMenuStates(TPlayState playState, const TShellState& shell, std::optional<int32_t> segmentCount);

// The check mark of the Segments items, set only by the segment list toggle.
TCommandState SegmentsCheckMark(bool segmentListVisible);
