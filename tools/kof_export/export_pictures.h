#pragma once
// The pictures of planned segments as the player shows them (segment_pictures.h), the
// ones that lie in the plan's range and are not cut.
#include <cstdint>
#include <functional>
#include <string>

#include "kof_export/export_plan.h"
#include "playback/segment_pictures.h"

struct SegmentOutcome {
  int32_t delivered = 0;  // pictures handed on (cut ones are not)
  std::string failure;    // why the segment ended early, or ""
  std::string damage;     // damaged records the engine stepped over, or ""
};

class ExportPictures {
public:
  // Called with each picture in order; the view is valid during the call only.
  using PictureHandler = std::function<void(const TkoPictureView& picture)>;
  // Called where a cut is stepped over, before the picture after it.
  using CutHandler = std::function<void(const PictureCut& cut)>;

  // segments must outlive this.
  explicit ExportPictures(TSegmentList& segments);

  // Hands the pictures [first, end) of the segment but its cuts to onPicture, and each
  // cut passed to onCut (when given). A record that cannot
  // be read ends the segment there (outcome.failure). Exceptions from onPicture end
  // the segment and are thrown on, and so is ExportInterrupted once a signal came.
  SegmentOutcome Play(const PlannedSegment& segment, const PictureHandler& onPicture,
                      const CutHandler& onCut = {});

private:
  TSegmentPictures FPictures;
};
