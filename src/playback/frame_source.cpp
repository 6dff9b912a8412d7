#include "playback/frame_source.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "film/data_file.h"
#include "film/ko_error.h"
#include "film/little_endian.h"
#include "film/segment_list.h"
#include "playback/frame_unpack.h"

TkoPictureView TkoOwnedPictureMemory::Make(int32_t width, int32_t height, int32_t depth) {
  try {
    if (FPicture.Resize(width, height, FDepth != 0 ? FDepth : depth)) return FPicture.View();
  } catch (const std::bad_alloc&) {
    FPicture.Release();
  }
  return {};
}

TkoFrameSource::TkoFrameSource(TFrameSourceHost* host, TPictureMemory* memory)
    : FHost(host != nullptr ? host : &FSilentHost), FMemory(memory != nullptr ? memory : &FOwnedMemory) {}

TkoFrameSource::~TkoFrameSource() { FMemory->Release(); }

bool TkoFrameSource::PrepareDisplay(const TSegmentInfo& segment) {
  const int32_t displayDepth = FHost->DisplayDepth();
  const int32_t depth = segment.BitsPerPixel;
  bool changed = depth != FDepth;
  FDepth = depth;
  const bool drawable = IsDrawableDepth(depth);
  changed |= segment.Width != FWidth || segment.Height != FHeight;
  FWidth = segment.Width;
  FHeight = segment.Height;
  for (int32_t i = 0; i < segment.Cursors.Count(); ++i)
    if (const TkoCursor* cursor = segment.Cursors.Item(i)) FOverlay.GrowFor(*cursor);
  changed |= depth != FRecordedDisplayDepth || displayDepth != FRecordedDisplayDepth;
  FDamageReported = false;
  FPreparedSegment = segment.Serial;
  FPictureFrame = kUnknownFrame;
  if (changed || !drawable) {
    FRecordedDisplayDepth = displayDepth;
    FMemory->Release();
    FPicture = {};
    if (drawable) MakePicture(FWidth, FHeight, depth);
  }
  // Last: the message may run commands that start another segment, which then
  // prepares everything for itself.
  if (!drawable) FHost->UnsupportedDepth(depth);
  return true;
}

// Takes what the memory hands out only when it is the picture asked for.
void TkoFrameSource::MakePicture(int32_t width, int32_t height, int32_t depth) {
  const TkoPictureView view = FMemory->Make(width, height, depth);
  const bool fits = !view.IsEmpty() && view.Width == width && view.Height == height &&
                    IsDrawableDepth(view.Depth) && int64_t{view.Stride} >= int64_t{width} * view.BytesPerPixel();
  FPicture = fits ? view : TkoPictureView{};
  NoteAllChanged();
}

void TkoFrameSource::NoteChanged(const TkoRect& area) { FChangedArea = BoundingUnion(FChangedArea, area); }

TkoRect TkoFrameSource::TakeChangedArea() { return std::exchange(FChangedArea, TkoRect{}); }

void TkoFrameSource::ClearPictures() {
  FPictureFrame = kUnknownFrame;
  if (FPicture.IsEmpty()) return;
  const size_t rowBytes = static_cast<size_t>(FPicture.Width) * FPicture.BytesPerPixel();
  for (int32_t y = 0; y < FPicture.Height; ++y) std::memset(FPicture.Row(y), 0, rowBytes);
  NoteAllChanged();
  FPictureSegment = FPreparedSegment;
  FPictureFrame = -1;
  FPictureCost = 0;
}

void TkoFrameSource::ResetFrameBuffer(const TSegmentInfo& segment) {
  std::vector<uint8_t>().swap(FFrame);
  FRecordSkipped = false;
  FBufferFrame = -1;
  const size_t size = FrameBufferSize(segment.Width, segment.Height);
  try {
    FFrame.resize(size);
  } catch (const std::bad_alloc&) {
    std::vector<uint8_t>().swap(FFrame);  // LoadFrame reports the missing buffer
  }
}

void TkoFrameSource::LoadFrame(TSegmentInfo& segment) {
  const int64_t offset = segment.FrameStream ? segment.FrameStream->GetPosition() : -1;
  FBufferFrame = -1;
  const TLoadFrameResult result = ::LoadFrame(&segment, FFrame);
  // A record stepped over left the buffer holding the one before, which must not be
  // laid again.
  FRecordSkipped = result.Ok && result.Damage == TFrameRecordDamage::kTooLarge;
  if (!result.Ok) throw EkoError(result.Message);
  FBufferFrame = FSeekIndex.NoteRecord(segment, offset, segment.FrameStream->GetPosition());
  if (result.Damage != TFrameRecordDamage::kNone) ReportDamage(result.Message);
}

void TkoFrameSource::UnpackFrame(const TSegmentInfo& segment) {
  if (FFrame.empty()) throw EkoError("UnpackFrame: Frame Is Nil");
  if (!IsDrawableDepth(segment.BitsPerPixel)) return;
  if (FPicture.IsEmpty()) throw EkoError("UnpackFrame: PXorFrame Is Nil");
}

void TkoFrameSource::ApplyDifference(const TSegmentInfo& segment) {
  if (!IsDrawableDepth(segment.BitsPerPixel) || FPicture.IsEmpty() || FFrame.empty()) return;
  int64_t changed = 0;
  int64_t bytes = 0;
  if (!FRecordSkipped) {
    TkoRect area;
    const TkoFrameStatus status = ApplyFrameRecord(FFrame, FPicture, &changed, &area);
    NoteChanged(area);
    if (status != TkoFrameStatus::kComplete) ReportDamage(FrameStatusText(status));
    bytes = std::clamp<int64_t>(ReadI32LE(FFrame.data()), 0, static_cast<int64_t>(FFrame.size()));
  }
  NoteRecordLaid(segment, bytes, changed);
}

// The first damage of a segment is told; the rest of it would only repeat the news.
void TkoFrameSource::ReportDamage(const std::string& text) {
  if (FDamageReported) return;
  FDamageReported = true;
  FHost->DamagedRecord(text);
}

void TkoFrameSource::ReadCursorSample(TSegmentInfo& segment) {
  FOverlay.ReadSample(segment.CursorTrack);
  FOverlay.SelectCursor(segment.Cursors.Item(FOverlay.LastSample().Index));
}

void TkoFrameSource::DrawCursor() {
  if (FCursorVisible) FOverlay.DrawCurrent(FPicture);
}
