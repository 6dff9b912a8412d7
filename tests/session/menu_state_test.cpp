#include "session/menu_state.h"

#include <gtest/gtest.h>

#include "session/command_ids.h"

namespace {
std::optional<bool> EnabledOf(const TMenuStates& s, int32_t command) {
  const TCommandState* item = s.Find(command);
  return item ? item->Enabled : std::nullopt;
}
std::optional<bool> CheckedOf(const TMenuStates& s, int32_t command) {
  const TCommandState* item = s.Find(command);
  return item ? item->Checked : std::nullopt;
}
}  // namespace

// Every play state and shell flag: the command matching the state is checked, Load is
// enabled only while stopped without a start-up film, and the view items and buttons
// carry the flags.
TEST(MenuState, ItemsFollowThePlayStateAndTheShellsFlags) {
  for (const TPlayState state : {psStopped, psPlaying, psPaused}) {
    for (int flags = 0; flags < 16; ++flags) {
      TShellState shell;
      shell.ShowPanel = flags & 1;
      shell.FullScreen = flags & 2;
      shell.NoStartupFilm = flags & 4;
      shell.SegmentListVisible = flags & 8;
      const TMenuStates s = ComputeMenuStates(state, shell, 2);
      SCOPED_TRACE(std::to_string(state) + "/" + std::to_string(flags));
      EXPECT_EQ(EnabledOf(s, CM_LOAD), state == psStopped && shell.NoStartupFilm);
      EXPECT_EQ(CheckedOf(s, CM_PLAY), state == psPlaying);
      EXPECT_EQ(CheckedOf(s, CM_PAUSE), state == psPaused);
      EXPECT_EQ(CheckedOf(s, CM_STOP), state == psStopped);
      EXPECT_EQ(CheckedOf(s, CM_CONTROL_PANEL), shell.ShowPanel);
      EXPECT_EQ(CheckedOf(s, CM_FULL_SCREEN), shell.FullScreen);
      EXPECT_EQ(s.FullScreenButtonPressed, shell.FullScreen);
      EXPECT_EQ(s.SegmentsButtonPressed, shell.SegmentListVisible);
    }
  }
}

TEST(MenuState, SegmentItemsDependOnTheFilmAndAreLeftAloneWithoutAList) {
  const TShellState shell;
  const TMenuStates withFilm = ComputeMenuStates(psStopped, shell, 3);
  const TMenuStates emptyFilm = ComputeMenuStates(psStopped, shell, 0);
  const TMenuStates noList = ComputeMenuStates(psStopped, shell, std::nullopt);
  for (const int32_t command : {CM_PROPERTIES, CM_PLAY, CM_PAUSE, CM_STOP, CM_PREVIOUS, CM_NEXT}) {
    EXPECT_EQ(EnabledOf(withFilm, command), true) << command;
    EXPECT_EQ(EnabledOf(emptyFilm, command), false) << command;
    EXPECT_EQ(EnabledOf(noList, command), std::nullopt) << command;
  }
  EXPECT_EQ(CheckedOf(noList, CM_STOP), true);
  // The Segments items belong to the segment list toggle alone.
  EXPECT_EQ(withFilm.Find(CM_SEGMENTS), nullptr);
  for (const bool visible : {true, false}) {
    const TCommandState mark = SegmentsCheckMark(visible);
    EXPECT_TRUE(mark.Command == CM_SEGMENTS && mark.Checked == visible && !mark.Enabled);
  }
}

// The items behind the addressed ones: with a film the seek commands are enabled, the
// frame steps only while paused, Save picture while a picture is shown, Resume with a
// place to go back to, Export video with kof-export.exe beside the player, Find on screen
// in any state (without an index it says so); without a film they are grayed. Skip idle
// stretches is checked while on, and the zoom choice is the one checked item of the
// three, whatever else is going on.
TEST(MenuState, TheLaterItemsFollowTheFilmThePlayStateAndTheShellsChoices) {
  using Count = std::optional<int32_t>;
  const int32_t idleSeconds[] = {0, 1, 3600, 3};
  const int32_t zooms[] = {CM_ZOOM_SCREEN_SCALE, CM_ZOOM_ORIGINAL_PIXELS, CM_ZOOM_FIT_WINDOW};
  for (int32_t choice = 0; choice < 8; ++choice)
    for (const TPlayState state : {psStopped, psPlaying, psPaused})
      for (const Count segments : {Count(), Count(0), Count(1), Count(2)}) {
        TShellState shell;
        shell.ResumeOffered = choice & 1;
        shell.ExportAvailable = choice & 2;
        shell.IdleSkipSeconds = idleSeconds[choice >> 1];
        shell.Zoom = static_cast<TPictureZoom>(choice % 3);
        SCOPED_TRACE(testing::Message() << choice << "/" << state << "/" << segments.value_or(-1));
        const TMenuStates s = ComputeMenuStates(state, shell, segments);
        const bool film = segments.value_or(0) >= 1;
        for (const int32_t seek : {CM_SEEK_BACK, CM_SEEK_FORWARD, CM_SEGMENT_START, CM_SEGMENT_END})
          EXPECT_EQ(EnabledOf(s, seek), film) << seek;
        for (const int32_t step : {CM_PREVIOUS_FRAME, CM_NEXT_FRAME})
          EXPECT_EQ(EnabledOf(s, step), film && state == psPaused) << step;
        EXPECT_EQ(EnabledOf(s, CM_SAVE_PICTURE), film && state != psStopped);
        EXPECT_EQ(EnabledOf(s, CM_RESUME), film && shell.ResumeOffered);
        EXPECT_EQ(EnabledOf(s, CM_EXPORT_VIDEO), film && shell.ExportAvailable);
        EXPECT_EQ(EnabledOf(s, CM_FIND_ON_SCREEN), film);
        EXPECT_EQ(CheckedOf(s, CM_SKIP_IDLE), shell.IdleSkipSeconds > 0);
        for (int32_t i = 0; i < 3; ++i)
          EXPECT_EQ(CheckedOf(s, zooms[i]), i == static_cast<int32_t>(shell.Zoom)) << i;
      }
}
