#include "export_pictures.h"

#include "interruption.h"

ExportPictures::ExportPictures(TSegmentList& segments) : FPictures(segments) {}

SegmentOutcome ExportPictures::Play(const PlannedSegment& segment, const PictureHandler& onPicture) {
  SegmentOutcome outcome;
  FPictures.Begin(segment.number - 1, segment.first, segment.end);
  while (const TkoPictureView* picture = FPictures.Next()) {
    ThrowIfInterrupted();
    onPicture(*picture);
    ++outcome.delivered;
  }
  outcome.failure = FPictures.Failure();
  outcome.damage = FPictures.TakeDamage();
  return outcome;
}
