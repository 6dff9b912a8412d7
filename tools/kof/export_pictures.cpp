#include "export_pictures.h"

#include <exception>

#include "interruption.h"

ExportPictures::ExportPictures(TSegmentList& segments) : FPlayer(segments) { FPlayer.SetEveryTick(true); }

SegmentOutcome ExportPictures::Play(const PlannedSegment& segment, const PictureHandler& onPicture) {
  SegmentOutcome outcome;
  int32_t tick = 0;
  std::exception_ptr thrown;
  const auto hand = [&](const TkoPictureView& picture) {
    ThrowIfInterrupted();
    if (tick >= segment.first) {
      onPicture(picture);
      ++outcome.delivered;
    }
    ++tick;
  };
  outcome.failure = FPlayer.PlaySegment(segment.number - 1, [&](int32_t, const TkoPictureView& picture) {
    if (tick >= segment.end) return false;
    try {
      hand(picture);
    } catch (...) {
      thrown = std::current_exception();
      return false;
    }
    return true;
  });
  if (thrown) std::rethrow_exception(thrown);
  outcome.damage = FPlayer.TakeDamage();
  if (!outcome.failure.empty()) return outcome;
  while (tick < segment.end) hand(FPlayer.Picture());
  return outcome;
}
