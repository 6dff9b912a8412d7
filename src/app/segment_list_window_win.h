#pragma once
// The segment list (class "koSegmentList"): a pane on the left of the main window with a
// coloured header carrying the caption, a close button "X" and a list box with one line
// per segment, in film order, so that a line index is a segment index. Enter or a double
// click on a line hides the pane and starts that segment; Escape hides it. Shown and
// hidden by the segment list toggle (command 113). One list per process; these routines
// do nothing while it does not exist.
#include <windows.h>

#include <cstdint>

#include "playback/screen_scale.h"

// Creates the hidden pane as a child of the main window (0, 0, 400 x 300; the main
// window's layout places it) with its children, for the player's screen scale. Returns
// its window; null when it cannot be created.
HWND CreateSegmentListWindow(HWND mainWindow);
// Refills the lines from the player's segments and selects the current segment's line.
// Without a segment list or segments, the lines stay as they are.
void FillSegmentList();
// Takes the caption from the player's texts again and redraws it.
void RefreshSegmentListCaption();
// Selects line index; an index without a line clears the selection.
void SelectSegmentLine(int32_t index);
// The list box, which takes the keyboard focus when the pane is shown; null without one.
HWND SegmentListBox();
// The screen's scale changed: the header, the list's font and the close button follow
// (the pane's own width is the main window's layout).
void ScaleSegmentList(const TScreenScale& scale);
