// TkoFrameSource's part in seeking: every record laid on the picture feeds the seek
// index, and any frame of a segment is shown from the nearest picture at hand.
#include <limits>

#include "film/ko_error.h"
#include "film/segment_list.h"
#include "playback/frame_source.h"

// Only records laid one after the other from a picture the index can tell are
// counted; anything else leaves the picture unknown until the next seek or segment.
void TkoFrameSource::NoteRecordLaid(const TSegmentInfo& segment, int64_t recordBytes, int64_t changedPixels) {
  const bool inOrder = FPictureFrame != kUnknownFrame && FPictureSegment == segment.Serial && FBufferFrame >= 0 &&
                       FBufferFrame == FPictureFrame + 1;
  if (!inOrder) {
    FPictureFrame = kUnknownFrame;
    return;
  }
  FPictureFrame = FBufferFrame;
  FPictureCost += RecordCost(recordBytes, changedPixels, FPicture.BytesPerPixel());
  FSeekIndex.Offer(segment, FPictureFrame, FPictureCost, FPicture);
}

void TkoFrameSource::SeekFrame(TSegmentInfo& segment, int32_t frame) {
  if (!segment.FrameStream) throw EkoError("LoadFrame: no frame stream");
  if (!FPicture.IsEmpty() && IsDrawableDepth(segment.BitsPerPixel)) {
    BeginSeek(segment, frame);
    ContinueSeek(segment, frame, std::numeric_limits<int32_t>::max());
  }
  PlaceStreamAfter(segment, frame);
}

void TkoFrameSource::BeginSeek(TSegmentInfo& segment, int32_t frame) {
  if (!segment.FrameStream) throw EkoError("LoadFrame: no frame stream");
  NoteAllChanged();  // a kept picture may be put back
  StartNear(segment, frame);
}

bool TkoFrameSource::ContinueSeek(TSegmentInfo& segment, int32_t frame, int32_t records) {
  if (FPictureFrame == kUnknownFrame) throw EkoError("SeekFrame: no picture to lay the records on");
  for (int32_t laid = 0; FPictureFrame < frame; ++laid) {
    if (laid >= records) return false;
    const int32_t next = FPictureFrame + 1;
    LoadFrame(segment);
    ApplyDifference(segment);
    if (FPictureFrame != next) throw EkoError("SeekFrame: the frame records are not where they were read");
  }
  return true;
}

// The picture on hand serves when it lies between the latest kept picture and the
// target: laying on from it costs less than restoring. The stream is left at the
// record after the picture's.
void TkoFrameSource::StartNear(const TSegmentInfo& segment, int32_t frame) {
  const TKeptPicture kept = FSeekIndex.LatestAtOrBefore(segment, frame, FPicture);
  const bool onHand = FPictureSegment == segment.Serial && FPictureFrame != kUnknownFrame &&
                      FPictureFrame <= frame && FPictureFrame >= kept.Frame;
  if (!onHand) {
    if (kept.Frame >= 0 && FSeekIndex.Restore(segment, kept.Frame, FPicture)) {
      FPictureSegment = segment.Serial;
      FPictureFrame = kept.Frame;
      FPictureCost = kept.Cost;
    } else {
      BlackPicture(segment);
    }
  }
  const int64_t offset = FSeekIndex.RecordOffset(segment, FPictureFrame + 1);
  if (offset >= 0 && segment.FrameStream->SetPosition(static_cast<int32_t>(offset)) == offset) return;
  BlackPicture(segment);
  segment.FrameStream->SetPosition(segment.FirstFrameOffset);
}

void TkoFrameSource::BlackPicture(const TSegmentInfo& segment) {
  ClearPictures();
  FPictureSegment = segment.Serial;
}

// Leaves the frame stream at the record after frame, reading records in order from the
// last one known when it has not been read yet (a segment that is not drawn).
void TkoFrameSource::PlaceStreamAfter(TSegmentInfo& segment, int32_t frame) {
  const int64_t offset = FSeekIndex.RecordOffset(segment, frame + 1);
  if (offset >= 0) {
    segment.FrameStream->SetPosition(static_cast<int32_t>(offset));
    return;
  }
  const int32_t known = FSeekIndex.KnownRecords(segment);
  segment.FrameStream->SetPosition(static_cast<int32_t>(FSeekIndex.RecordOffset(segment, known)));
  for (int32_t next = known; next <= frame; ++next) LoadFrame(segment);
}

void TkoFrameSource::ForgetSeekIndex() {
  FSeekIndex.Clear();
  FPictureFrame = kUnknownFrame;
  FBufferFrame = -1;
}
