#pragma once
// The engine's presenter in the page: the picture goes to a canvas, at most once per
// display frame. Presenting only notes what changed (the whole picture, or the areas
// under the pointer's old and new positions); at the display's next frame those pixels
// are converted for the canvas and put there. The canvas is as large as the picture;
// the page shows it at the size the layout gives: its size at the zoom (at first the
// screen's scale, a recorded pixel as devicePixelRatio device pixels) when that fits the
// area the page has for it, else reduced with its proportions kept, or fitted to it.
#include <cstdint>

#include "playback/frame_source.h"
#include "playback/picture_zoom.h"
#include "playback/playback_services.h"
#include "web/picture_rgba.h"
#include "web/web_page.h"

class TWebPresenter : public TFramePresenter {
public:
  TWebPresenter(TWebPage& page, const TkoFrameSource& frames) : FPage(page), FFrames(frames) {}

  // Makes the canvas as large as the picture (when that changed) and tells the page
  // where it goes; the whole picture follows at the next display frame.
  void LayOut() override;
  void PresentWholeFrame() override;
  void PresentCursorArea() override;
  TkoSize ZoomedSize(TkoSize frame) const override { return ZoomedFrameSize(frame, FZoom, FScale); }

  // The page's area for the picture changed (device pixels).
  void SetViewport(int32_t width, int32_t height);
  // The zoom and the screen's scale (the page's device pixel ratio) changed.
  void SetZoom(TPictureZoom zoom, TScreenScale scale);
  // At a display frame: copies what changed to the canvas. Returns whether anything
  // was copied.
  bool Flush();
  // The canvas is cleared (a stopped player shows no picture).
  void Forget();

  const TRgbaPicture& Canvas() const { return FCanvas; }
  const TkoPicturePlacement& Placement() const { return FPlacement; }

private:
  void SendLayout();

  TWebPage& FPage;
  const TkoFrameSource& FFrames;
  TRgbaPicture FCanvas;
  TDirtyRegion FDirty;
  TkoSize FViewport{-1, -1};  // unknown: shown at its zoomed size
  TPictureZoom FZoom = TPictureZoom::kScreenScale;
  TScreenScale FScale;
  TkoPicturePlacement FPlacement;
};
