#include "playback/segment_pictures.h"

TSegmentPictures::TSegmentPictures(TSegmentList& segments)
    : FPlayer(segments), FCount([this](int32_t, const TkoPictureView&) { return ++FPending, true; }) {
  FPlayer.SetEveryTick(true);
}

void TSegmentPictures::Begin(int32_t index, int32_t first, int32_t end) {
  Finish();  // a run given up halfway stops first
  FTick = 0;
  FFirst = first;
  FEnd = end;
  FPending = 0;
  FFailure.clear();
  FFinished = false;
  FPlaying = FPlayer.BeginSegment(index, FCount);
}

const TkoPictureView* TSegmentPictures::Next() {
  while (FTick < FEnd) {
    while (FPending == 0 && FPlaying) FPlaying = FPlayer.Step(FCount);
    if (FPending > 0) {
      --FPending;
    } else {
      Finish();
      if (!FFailure.empty()) return nullptr;  // no repeats after a record that cannot be read
    }
    if (FTick++ >= FFirst) return &FPlayer.Picture();
  }
  Finish();
  return nullptr;
}

void TSegmentPictures::Finish() {
  if (FFinished) return;
  FFinished = true;
  FPlaying = false;
  FFailure = FPlayer.EndSegment();
}
