#include "web/web_presenter.h"

#include "platform/presentation_plan.h"
#include "web/web_events.h"

void TWebPresenter::LayOut() {
  const TkoPictureView& picture = FFrames.Picture();
  if (picture.Width != FCanvas.Width() || picture.Height != FCanvas.Height()) {
    FCanvas.Resize(picture.Width, picture.Height);
    FDirty.SetBounds(picture.Width, picture.Height);
    FPage.ResizeCanvas(picture.Width, picture.Height);
  }
  SendLayout();
  FDirty.AddAll();
  FPage.RequestDisplayFrame();
}

void TWebPresenter::SetViewport(int32_t width, int32_t height) {
  FViewport = {width, height};
  if (FCanvas.Width() > 0) SendLayout();
}

void TWebPresenter::SetZoom(TPictureZoom zoom, TScreenScale scale) {
  FZoom = zoom;
  FScale = scale;
  if (FCanvas.Width() > 0) SendLayout();
}

void TWebPresenter::SendLayout() {
  const TkoSize frame{FCanvas.Width(), FCanvas.Height()};
  const TkoSize area = FViewport.Width < 0 ? ZoomedSize(frame) : FViewport;
  FPlacement = PlaceZoomedPicture(frame, area, FZoom, FScale);
  FPage.Send(LayoutEvent(frame, FPlacement));
}

void TWebPresenter::PresentWholeFrame() {
  FDirty.AddAll();
  FPage.RequestDisplayFrame();
}

void TWebPresenter::PresentCursorArea() {
  const TkoPictureView& picture = FFrames.Picture();
  if (picture.IsEmpty()) return;
  const TkoCursorOverlay& overlay = FFrames.Overlay();
  // The canvas holds the picture at its own size: the copies' sources are the areas.
  const TkoPicturePlacement unscaled = PlacePicture({picture.Width, picture.Height}, {picture.Width, picture.Height});
  const TkoBlits blits =
      CursorAreaBlits(overlay.OldPosition(), overlay.NewPosition(), {overlay.LargestWidth(), overlay.LargestHeight()},
                      {picture.Width, picture.Height}, unscaled);
  for (int32_t i = 0; i < blits.Count; ++i) FDirty.Add(blits.Items[i].Source);
  if (blits.Count > 0) FPage.RequestDisplayFrame();
}

bool TWebPresenter::Flush() {
  const TkoPictureView& picture = FFrames.Picture();
  if (FDirty.Empty() || picture.IsEmpty() || picture.Width != FCanvas.Width() || picture.Height != FCanvas.Height()) {
    FDirty.Take();
    return false;
  }
  const TkoBox box = FDirty.Take();
  FCanvas.CopyFrom(picture, box);
  FPage.PutPicture(FCanvas.Data(), FCanvas.Width(), FCanvas.Height(), box);
  return true;
}

void TWebPresenter::Forget() {
  FDirty.Take();
  FCanvas.Resize(0, 0);
  FDirty.SetBounds(0, 0);
  FPage.ResizeCanvas(0, 0);
}
