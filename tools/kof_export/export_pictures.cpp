#include "kof_export/export_pictures.h"

#include "kof_export/interruption.h"

ExportPictures::ExportPictures(TSegmentList& segments) : FPictures(segments) {}

SegmentOutcome ExportPictures::Play(const PlannedSegment& segment, const PictureHandler& onPicture,
                                    const CutHandler& onCut) {
  SegmentOutcome outcome;
  // Cut pictures are drawn all the same: each picture is the change of a record on the
  // one before, so the pictures after a cut come out exact.
  FPictures.Begin(segment.number - 1, segment.first, segment.end);
  auto cut = segment.cuts.begin();
  for (int32_t index = segment.first; const TkoPictureView* picture = FPictures.Next(); ++index) {
    ThrowIfInterrupted();
    if (cut != segment.cuts.end() && index >= cut->first) {
      if (index < cut->end) continue;
      if (onCut) onCut(*cut);
      ++cut;
    }
    onPicture(*picture);
    ++outcome.delivered;
  }
  outcome.failure = FPictures.Failure();
  outcome.damage = FPictures.TakeDamage();
  return outcome;
}
