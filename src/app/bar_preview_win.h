#pragma once
// The picture above the progress bar while the mouse is over it: the frame a seek
// there would show, reduced, with the segment's name and the time under it. The bar
// tells where the mouse is; a worker thread decodes (TPreviewWorker, made at the first
// look and kept for the player's life), and its pictures reach the UI thread as
// WM_PREVIEWREADY on the main window.
#include <windows.h>

#include <memory>

#include "session/bar_preview_note.h"
#include "controls/note_window_win.h"
#include "playback/preview_worker.h"

class TWinPlayer;

// Posted to the main window by the preview's worker.
constexpr UINT WM_PREVIEWREADY = WM_APP + 2;

struct TBarPreview {
  std::unique_ptr<TPreviewWorker> Worker;
  std::unique_ptr<TNoteWindow> Note;
  std::unique_ptr<TBarPreviewNote> Shown;  // of the film now open; what the note shows
  int32_t CentreX = 0;  // the mouse's x in the main window's client area
};

// The mouse is over the bar where a seek would show frame of segment; centreX is the
// mouse's x in the main window's client area. The note follows the mouse and shows the
// picture last made, under that picture's own segment name and time.
void ShowBarPreview(TWinPlayer& player, int32_t segment, int32_t frame, int32_t centreX);
// The mouse left the bar, or pressed it.
void HideBarPreview(TWinPlayer& player);
// WM_PREVIEWREADY: the worker's latest picture, shown while the mouse is still there.
void ShowReadyPreview(TWinPlayer& player);
// Before the film's segments go (another film, the end): the worker lets go of the
// film's files, and the note goes.
void ReleaseBarPreview(TWinPlayer& player);
