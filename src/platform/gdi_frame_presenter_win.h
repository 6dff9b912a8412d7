#pragma once
// The engine's TFramePresenter on GDI: places the picture in the main window (growing
// the window for a new segment, centring, reducing a picture that does not fit),
// copies the DIB section the frame source draws into to the window, and handles the
// main window's WM_PAINT and WM_ERASEBKGND by play state.
//
// All calls on the UI thread. Without a window (before SetWindow, or after the window
// is destroyed and SetWindow(nullptr)) nothing is laid out or drawn.
#include <windows.h>

#include <functional>
#include <optional>

#include "platform/dib_picture_memory_win.h"
#include "platform/presentation_plan.h"
#include "playback/frame_source.h"
#include "playback/picture_layout.h"
#include "playback/picture_zoom.h"
#include "playback/playback_engine.h"

class TGdiFramePresenter : public TFramePresenter {
public:
  // The engine gives the state and the current segment (size, rate), the frame source
  // the picture and the pointer's positions, memory the bitmap; panelShown tells
  // whether the bottom panel takes the lowest 40 pixels (at 96 DPI) of the client
  // area. All must
  // outlive the presenter (the engine may still be under construction: it is only
  // read when a method runs).
  TGdiFramePresenter(const TPlaybackEngine& engine, TkoFrameSource& frames, const TDibPictureMemory& memory,
                     std::function<bool()> panelShown);
  TGdiFramePresenter(const TGdiFramePresenter&) = delete;
  TGdiFramePresenter& operator=(const TGdiFramePresenter&) = delete;

  // The main window; null once it is destroyed.
  void SetWindow(HWND window) {
    FWindow = window;
    FShown.Invalidate();
  }

  // The screen's scale (the window's DPI) and the user's zoom; both lay the picture out
  // again while it is shown. At first 96 DPI and screen scale.
  void SetScreenScale(TScreenScale scale);
  void SetZoom(TPictureZoom zoom);
  TPictureZoom Zoom() const { return FZoom; }

  // At a segment start (state stopped) grows the window to fit the frame at its zoom,
  // or maximises it (WM_SYSCOMMAND SC_MAXIMIZE) when the grown window would not fit
  // the screen (GetSystemMetrics); then centres the picture in the client area at its
  // zoom, reducing it when it does not fit (or fitting it to the window), and
  // invalidates the whole client area with erasing. Nothing without a window or a
  // current segment.
  void LayOut() override;
  // Brings the window up to date with the whole picture. It copies the whole picture
  // (unchanged, or stretched to the shown size, halftone only at 5 frames per second or
  // less) when the window may not show it any more (after LayOut, after WM_PAINT, for a
  // new window) and while it is reduced; otherwise only what changed since the last
  // copy (TkoShownPicture). Nothing while no picture is made (a depth that is not
  // drawn).
  void PresentWholeFrame() override;
  // Copies the picture under the pointer's old and new positions (the largest cursor
  // size), stretched as the whole picture is (presentation_plan.h).
  void PresentCursorArea() override;
  // The frame's size at the zoom on this screen.
  TkoSize ZoomedSize(TkoSize frame) const override { return ZoomedFrameSize(frame, FZoom, FScale); }

  // For WM_SIZE: lays out again while playing or paused.
  void Resized();
  // For WM_PAINT. Playing: validates the window only (the next tick shows the whole
  // picture) and returns 0. Paused: default processing, then the whole frame, and
  // returns 0. Stopped or no window: nothing, returns nullopt (default processing).
  std::optional<LRESULT> Paint();
  // For WM_ERASEBKGND with the message's dc. Playing: fills the four margins around
  // the picture with the window class's background brush (nothing without a dc) and
  // returns 1, erased. Stopped, paused or no window: nullopt (default processing).
  std::optional<LRESULT> EraseBackground(HDC dc);

  // Where the last LayOut put the picture.
  const TkoPicturePlacement& Placement() const { return FPlacement; }

  // A box of the frame (a hit of the search) outlined in colour over the picture while
  // segment (from 0) is shown, drawn after every copy, through the picture's placement;
  // clearing it shows the picture there again.
  void SetOutline(int32_t segment, const TkoBox& frameBox, COLORREF colour);
  void ClearOutline();

private:
  void GrowWindowFor(TkoSize frame);
  TkoRect ClientRect() const;
  TkoSize Available() const;
  // Lays out again while a picture is shown (playing or paused).
  void LayOutShownPicture();
  void DrawOutline() const;

  struct TOutline {
    int32_t Segment;
    TkoBox Box;
    COLORREF Colour;
  };

  const TPlaybackEngine& FEngine;
  TkoFrameSource& FFrames;
  const TDibPictureMemory& FMemory;
  std::function<bool()> FPanelShown;
  HWND FWindow = nullptr;
  TScreenScale FScale;
  TPictureZoom FZoom = TPictureZoom::kScreenScale;
  TkoPicturePlacement FPlacement;
  TkoShownPicture FShown;
  std::optional<TOutline> FOutline;
};
