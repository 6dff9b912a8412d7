#include "playback/picture_zoom.h"

TkoSize ZoomedFrameSize(TkoSize frame, TPictureZoom zoom, const TScreenScale& scale) {
  return zoom == TPictureZoom::kOriginalPixels ? frame : scale.Size(frame);
}

TkoPicturePlacement PlaceZoomedPicture(TkoSize frame, TkoSize available, TPictureZoom zoom,
                                       const TScreenScale& scale) {
  return PlacePicture(frame, available, ZoomedFrameSize(frame, zoom, scale), zoom == TPictureZoom::kFitWindow);
}
