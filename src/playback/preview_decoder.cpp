#include "playback/preview_decoder.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "film/ko_error.h"
#include "film/segment_list.h"
#include "film/ko_cursor.h"
#include "playback/seek_target.h"

// A segment as the decoder has it: its own record, whose frame stream it opens itself
// and which names no data file (so nothing is deleted with it).
struct TPreviewDecoder::TSegmentCopy {
  TSegmentInfo Info;
  std::filesystem::path DataFile;
  bool Drawn = false;  // it can be played, has frames and a depth that is drawn
};

TPreviewDecoder::TPreviewDecoder(const TSegmentList& film, int32_t pictureDepth)
    : FMemory(pictureDepth), FFrames(nullptr, &FMemory) {
  for (int32_t i = 0; i < film.Count(); ++i) {
    auto copy = std::make_unique<TSegmentCopy>();
    if (const TSegmentInfo* source = film.Get(i)) {
      TSegmentInfo& info = copy->Info;
      info.Width = source->Width;
      info.Height = source->Height;
      info.BitsPerPixel = source->BitsPerPixel;
      info.FrameCount = source->FrameCount;
      info.FramesPerSecond = source->FramesPerSecond;
      info.Flags = source->Flags;
      info.FirstFrameOffset = source->FirstFrameOffset;
      info.CursorTrack = source->CursorTrack;
      for (int32_t c = 0; c < source->Cursors.Count(); ++c) {
        const TkoCursor* cursor = source->Cursors.Item(c);
        info.Cursors.Add(cursor != nullptr ? std::make_unique<TkoCursor>(*cursor) : nullptr);
      }
      copy->DataFile = source->DataFilePath;
      copy->Drawn = IsSeekable(source) && IsDrawableDepth(source->BitsPerPixel) && !copy->DataFile.empty();
    }
    FSegments.push_back(std::move(copy));
  }
}

TPreviewDecoder::~TPreviewDecoder() = default;

void TPreviewDecoder::Request(TPreviewRequest request) {
  FWorking = FReady = false;
  FRequest = std::move(request);
  try {
    Start(std::move(FRequest.Knowledge));
  } catch (const std::exception&) {  // a damaged record, no memory: no preview
    FWorking = FReady = false;
  }
}

void TPreviewDecoder::Start(TSeekKnowledge knowledge) {
  if (FRequest.Segment < 0 || !Enter(FRequest.Segment)) return;
  TSegmentInfo& segment = FSegments[static_cast<size_t>(FRequest.Segment)]->Info;
  FRequest.Frame = std::clamp(FRequest.Frame, 0, segment.FrameCount - 1);
  if (const TPreviewPicture* cached = Cached(FRequest.Segment, FRequest.Frame, FRequest.MaxWidth)) {
    Publish(*cached);
    return;
  }
  FFrames.LearnSeekIndex(segment, knowledge);
  FFrames.RestoreCursor();
  FFrames.BeginSeek(segment, FRequest.Frame);
  FWorking = true;
  // Not read that far yet: the nearest preview of the segment until the exact one.
  if (FFrames.SeekIndex().RecordOffset(segment, FRequest.Frame) < 0)
    if (const TPreviewPicture* nearest = Nearest(FRequest.Segment, FRequest.Frame, FRequest.MaxWidth)) {
      Publish(*nearest);
      FResult.Exact = false;
    }
}

bool TPreviewDecoder::Step(int32_t records) {
  if (FReady) {
    FReady = false;
    return true;
  }
  if (!FWorking) return false;
  TSegmentInfo& segment = FSegments[static_cast<size_t>(FRequest.Segment)]->Info;
  try {
    if (!FFrames.ContinueSeek(segment, FRequest.Frame, records)) return false;
    Finish();
  } catch (const std::exception&) {
    FWorking = false;
    return false;
  }
  return std::exchange(FReady, false);
}

// Opens the segment's data file on first use and prepares the frame source for it.
bool TPreviewDecoder::Enter(int32_t index) {
  if (index >= static_cast<int32_t>(FSegments.size()) || !FSegments[static_cast<size_t>(index)]->Drawn) return false;
  TSegmentCopy& copy = *FSegments[static_cast<size_t>(index)];
  if (!copy.Info.FrameStream) {
    try {
      copy.Info.FrameStream = std::make_unique<TkoFileStream>(copy.DataFile, kModeReadShared);
    } catch (const EkoError&) {  // the file is gone
      copy.Drawn = false;
      return false;
    }
  }
  if (FEntered != index) {
    FFrames.PrepareDisplay(copy.Info);
    FFrames.ResetFrameBuffer(copy.Info);
    FFrames.ResetCursor();
    FEntered = index;
  }
  return !FFrames.Picture().IsEmpty() && FFrames.FrameBufferBytes() > 0;
}

// The picture shows the frame: the pointer of the frame's first sample goes on it, as
// a seek draws it, and the reduction is the preview.
void TPreviewDecoder::Finish() {
  FWorking = false;
  TSegmentInfo& segment = FSegments[static_cast<size_t>(FRequest.Segment)]->Info;
  const int32_t samples = (segment.Flags & 1) != 0 ? 3 : 1;
  FFrames.ResetCursor();
  segment.CursorTrack.SetPosition(CursorTrackOffset(segment.CursorTrack.GetSize(), FRequest.Frame * samples));
  FFrames.ReadCursorSample(segment);
  FFrames.SaveCursorBackground();
  FFrames.DrawCursor();
  FFrames.CommitCursor();
  TPreviewPicture preview{FRequest.Segment, FRequest.Frame, true, {}};
  if (!ReducePicture(FFrames.Picture(), FRequest.MaxWidth, preview.Picture)) return;
  Publish(preview);
  if (FCache.size() >= kCachedPictures) FCache.erase(FCache.begin());
  FCache.push_back(std::move(preview));
}

void TPreviewDecoder::Publish(const TPreviewPicture& picture) {
  FResult.Segment = picture.Segment;
  FResult.Frame = picture.Frame;
  FResult.Exact = picture.Exact;
  FResult.Picture = picture.Picture;
  FReady = true;
}

// A kept preview serves a request of the same width: the same reduction factor.
bool TPreviewDecoder::SameWidth(const TPreviewPicture& cached, int32_t maxWidth) const {
  const int32_t width = FSegments[static_cast<size_t>(cached.Segment)]->Info.Width;
  return cached.Picture.Width() == width / PreviewFactor(width, maxWidth);
}

const TPreviewPicture* TPreviewDecoder::Cached(int32_t segment, int32_t frame, int32_t maxWidth) const {
  for (const TPreviewPicture& cached : FCache)
    if (cached.Segment == segment && cached.Frame == frame && SameWidth(cached, maxWidth)) return &cached;
  return nullptr;
}

const TPreviewPicture* TPreviewDecoder::Nearest(int32_t segment, int32_t frame, int32_t maxWidth) const {
  const TPreviewPicture* nearest = nullptr;
  for (const TPreviewPicture& cached : FCache) {
    if (cached.Segment != segment || !SameWidth(cached, maxWidth)) continue;
    if (nearest == nullptr || std::abs(cached.Frame - frame) < std::abs(nearest->Frame - frame)) nearest = &cached;
  }
  return nearest;
}
