#include "session/bar_preview_note.h"

#include <utility>

#include "session/resume_tracker.h"
#include "film/segment_list.h"

TBarPreviewNote::TBarPreviewNote(const TSegmentList& segments, std::function<std::string(const std::string&)> toUtf8)
    : FSegments(segments), FToUtf8(std::move(toUtf8)) {}

std::optional<TPreviewRequest> TBarPreviewNote::Hover(int32_t segment, int32_t frame, int32_t maxWidth) {
  if (segment == FSegment && frame == FFrame) return std::nullopt;
  FSegment = segment;
  FFrame = frame;
  return TPreviewRequest{segment, frame, maxWidth, {}};
}

void TBarPreviewNote::Leave() { FSegment = -1; }

bool TBarPreviewNote::Take(const TPreviewPicture& picture) {
  const TSegmentInfo* shown = FSegments.Get(picture.Segment);
  if (!Hovering() || shown == nullptr) return false;
  FText = FToUtf8(shown->Name) + "\n" + ClockText(PlaceSeconds(FSegments, {picture.Segment, picture.Frame}));
  return true;
}
