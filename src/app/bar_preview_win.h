#pragma once
// The picture above the progress bar while the mouse is over it: the frame a seek
// there would show, reduced, with the segment's name and the time under it. The bar
// tells where the mouse is; a worker thread decodes (TPreviewWorker, made at the first
// look and kept for the player's life), and its pictures reach the UI thread as
// WM_PREVIEWREADY on the main window.
#include <windows.h>

#include <memory>

#include "controls/note_window_win.h"
#include "playback/preview_worker.h"

class TPlayer;

// Posted to the main window by the preview's worker.
constexpr UINT WM_PREVIEWREADY = WM_APP + 2;

struct TBarPreview {
  std::unique_ptr<TPreviewWorker> Worker;
  std::unique_ptr<TNoteWindow> Note;
  int32_t Segment = -1;  // the film segment under the mouse; -1 while the mouse is elsewhere
  int32_t Frame = 0;
  int32_t CentreX = 0;  // the mouse's x in the main window's client area
};

// The mouse is over the bar at seconds into the film, where a seek would show frame of
// segment; centreX is the mouse's x in the main window's client area.
void ShowBarPreview(TPlayer& player, int32_t segment, int32_t frame, double seconds, int32_t centreX);
// The mouse left the bar, or pressed it.
void HideBarPreview(TPlayer& player);
// WM_PREVIEWREADY: the worker's latest picture, shown while the mouse is still there.
void ShowReadyPreview(TPlayer& player);
// Before the film's segments go (another film, the end): the worker lets go of the
// film's files, and the note goes.
void ReleaseBarPreview(TPlayer& player);
