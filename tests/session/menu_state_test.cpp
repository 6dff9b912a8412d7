#include "session/menu_state.h"

#include <gtest/gtest.h>

namespace {
std::optional<bool> EnabledOf(const TMenuStates& s, TMenuId menu, int32_t position) {
  const TMenuItemState* item = s.Find(menu, position);
  return item ? item->Enabled : std::nullopt;
}
std::optional<bool> CheckedOf(const TMenuStates& s, TMenuId menu, int32_t position) {
  const TMenuItemState* item = s.Find(menu, position);
  return item ? item->Checked : std::nullopt;
}
}  // namespace

// Every play state and shell flag: the item matching the state is checked, Load is
// enabled only while stopped without a start-up film, the view items and buttons carry
// the flags, and the context menu agrees with the menu bar item for item.
TEST(MenuState, ItemsFollowTheStateAndTheContextMenuAgreesWithTheMenuBar) {
  const std::pair<std::pair<TMenuId, int32_t>, int32_t> counterparts[] = {
      {{TMenuId::kFile, 0}, 0},    {{TMenuId::kActions, 0}, 2}, {{TMenuId::kActions, 1}, 3},
      {{TMenuId::kActions, 2}, 4}, {{TMenuId::kActions, 5}, 7}, {{TMenuId::kActions, 6}, 8},
      {{TMenuId::kView, 0}, 10},   {{TMenuId::kView, 1}, 11}};
  for (const TPlayState state : {psStopped, psPlaying, psPaused}) {
    for (int flags = 0; flags < 16; ++flags) {
      TShellState shell;
      shell.ShowPanel = flags & 1;
      shell.FullScreen = flags & 2;
      shell.NoStartupFilm = flags & 4;
      shell.SegmentListVisible = flags & 8;
      const TMenuStates s = ComputeMenuStates(state, shell, 2);
      const std::string trace = std::to_string(state) + "/" + std::to_string(flags);
      EXPECT_EQ(EnabledOf(s, TMenuId::kFile, 0), state == psStopped && shell.NoStartupFilm) << trace;
      EXPECT_EQ(CheckedOf(s, TMenuId::kActions, 0), state == psPlaying) << trace;
      EXPECT_EQ(CheckedOf(s, TMenuId::kActions, 1), state == psPaused) << trace;
      EXPECT_EQ(CheckedOf(s, TMenuId::kActions, 2), state == psStopped) << trace;
      EXPECT_EQ(CheckedOf(s, TMenuId::kView, 0), shell.ShowPanel) << trace;
      EXPECT_EQ(CheckedOf(s, TMenuId::kView, 1), shell.FullScreen) << trace;
      EXPECT_EQ(s.FullScreenButtonPressed, shell.FullScreen) << trace;
      EXPECT_EQ(s.SegmentsButtonPressed, shell.SegmentListVisible) << trace;
      for (const auto& [bar, context] : counterparts) {
        const TMenuItemState* barItem = s.Find(bar.first, bar.second);
        const TMenuItemState* contextItem = s.Find(TMenuId::kContext, context);
        ASSERT_TRUE(barItem && contextItem) << trace << " " << context;
        EXPECT_EQ(barItem->Enabled, contextItem->Enabled) << trace << " " << context;
        EXPECT_EQ(barItem->Checked, contextItem->Checked) << trace << " " << context;
      }
    }
  }
}

TEST(MenuState, SegmentItemsDependOnTheFilmAndAreLeftAloneWithoutAList) {
  const TShellState shell;
  const std::pair<TMenuId, int32_t> segmentItems[] = {
      {TMenuId::kFile, 1},    {TMenuId::kActions, 0}, {TMenuId::kActions, 1}, {TMenuId::kActions, 2},
      {TMenuId::kActions, 5}, {TMenuId::kActions, 6}, {TMenuId::kContext, 2}, {TMenuId::kContext, 3},
      {TMenuId::kContext, 4}, {TMenuId::kContext, 7}, {TMenuId::kContext, 8}};
  const TMenuStates withFilm = ComputeMenuStates(psStopped, shell, 3);
  const TMenuStates emptyFilm = ComputeMenuStates(psStopped, shell, 0);
  const TMenuStates noList = ComputeMenuStates(psStopped, shell, std::nullopt);
  for (const auto& [menu, position] : segmentItems) {
    EXPECT_EQ(EnabledOf(withFilm, menu, position), true) << int(menu) << position;
    EXPECT_EQ(EnabledOf(emptyFilm, menu, position), false) << int(menu) << position;
    EXPECT_EQ(EnabledOf(noList, menu, position), std::nullopt) << int(menu) << position;
  }
  EXPECT_EQ(CheckedOf(noList, TMenuId::kActions, 2), true);
  // The Segments items belong to the segment list toggle alone.
  EXPECT_EQ(withFilm.Find(TMenuId::kActions, 4), nullptr);
  EXPECT_EQ(withFilm.Find(TMenuId::kContext, 6), nullptr);
  for (const bool visible : {true, false})
    for (const TMenuItemState& item : SegmentsCheckMarks(visible))
      EXPECT_TRUE(item.Position == (item.Menu == TMenuId::kActions ? 4 : 6) && item.Checked == visible &&
                  !item.Enabled);
}

// The items behind the addressed ones: with a film the seek commands are enabled, the
// frame steps only while paused, Save picture while a picture is shown, Resume with a
// place to go back to, Export video with kof-export.exe beside the player, Find on screen
// in any state (without an index it says so); the context menu agrees; without a film
// they are grayed. Skip idle stretches is checked while on, and the zoom choice is the
// one checked item of the three, whatever else is going on.
TEST(MenuState, TheLaterItemsFollowTheFilmThePlayStateAndTheShellsChoices) {
  using Count = std::optional<int32_t>;
  const int32_t idleSeconds[] = {0, 1, 3600, 3};
  for (int32_t choice = 0; choice < 8; ++choice)
    for (const TPlayState state : {psStopped, psPlaying, psPaused})
      for (const Count segments : {Count(), Count(0), Count(1), Count(2)}) {
        TShellState shell;
        shell.ResumeOffered = choice & 1;
        shell.ExportAvailable = choice & 2;
        shell.IdleSkipSeconds = idleSeconds[choice >> 1];
        shell.Zoom = static_cast<TPictureZoom>(choice % kZoomItemCount);
        SCOPED_TRACE(testing::Message() << choice << "/" << state << "/" << segments.value_or(-1));
        const TMenuStates s = ComputeMenuStates(state, shell, segments);
        const bool film = segments.value_or(0) >= 1;
        const auto agree = [&s](int32_t actions, int32_t context) {
          EXPECT_EQ(EnabledOf(s, TMenuId::kContext, context), EnabledOf(s, TMenuId::kActions, actions)) << context;
        };
        for (int32_t i = 0; i < kSeekItemCount; ++i) {
          const bool frameStep = i == 2 || i == 3;
          EXPECT_EQ(EnabledOf(s, TMenuId::kActions, kActionsSeekItems + i), film && (!frameStep || state == psPaused))
              << i;
          agree(kActionsSeekItems + i, kContextSeekItems + i);
        }
        EXPECT_EQ(EnabledOf(s, TMenuId::kActions, kActionsSavePicture), film && state != psStopped);
        agree(kActionsSavePicture, kContextSavePicture);
        EXPECT_EQ(EnabledOf(s, TMenuId::kActions, kActionsResume), film && shell.ResumeOffered);
        EXPECT_EQ(EnabledOf(s, TMenuId::kFile, kFileExportVideo), film && shell.ExportAvailable);
        EXPECT_EQ(EnabledOf(s, TMenuId::kContext, kContextExportVideo), film && shell.ExportAvailable);
        EXPECT_EQ(EnabledOf(s, TMenuId::kActions, kActionsFindOnScreen), film);
        EXPECT_EQ(CheckedOf(s, TMenuId::kView, kViewSkipIdle), shell.IdleSkipSeconds > 0);
        for (int32_t i = 0; i < kZoomItemCount; ++i) {
          const bool chosen = i == static_cast<int32_t>(shell.Zoom);
          EXPECT_EQ(CheckedOf(s, TMenuId::kView, kViewZoomItems + i), chosen) << i;
          EXPECT_EQ(CheckedOf(s, TMenuId::kContext, kContextZoomItems + i), chosen) << i;
        }
      }
}
