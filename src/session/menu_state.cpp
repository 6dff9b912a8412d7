#include "session/menu_state.h"

#include "session/command_table.h"

const TCommandState* TMenuStates::Find(int32_t command) const {
  for (const TCommandState& item : Items)
    if (item.Command == command) return &item;
  return nullptr;
}

TMenuStates ComputeMenuStates(TPlayState playState, const TShellState& shell, std::optional<int32_t> segmentCount) {
  const TCommandContext context{playState, shell, segmentCount};
  TMenuStates states;
  for (const TCommand& command : Commands()) {
    TCommandState state{command.Id, std::nullopt, std::nullopt};
    if (command.Enabled) state.Enabled = command.Enabled(context);
    if (command.Checked) state.Checked = command.Checked(context);
    if (state.Enabled || state.Checked) states.Items.push_back(state);
  }
  states.FullScreenButtonPressed = shell.FullScreen;
  states.SegmentsButtonPressed = shell.SegmentListVisible;
  return states;
}

TCommandState SegmentsCheckMark(bool segmentListVisible) { return {CM_SEGMENTS, std::nullopt, segmentListVisible}; }
