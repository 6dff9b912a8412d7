#pragma once
// The portable TFrameSource: the frame buffer, the current picture with the recorded
// pointer drawn into it, and the pointer's save-under area.
//
// Records are laid straight onto the picture (ApplyFrameRecord): UnpackFrame only
// checks that there is something to lay, ApplyDifference does the work, touching only
// the pixels of runs that change something. No allocation per frame.
//
// The picture's pixel memory comes from a TPictureMemory: by default the source owns
// it; the Windows player can hand out the bits of a DIB section instead, so the
// picture is drawn where GDI copies it from.
#include <cstdint>
#include <string>
#include <vector>

#include "playback/cursor_overlay.h"
#include "playback/ko_picture.h"
#include "playback/playback_services.h"
#include "playback/seek_index.h"

// Pixel memory for the picture.
class TPictureMemory {
public:
  virtual ~TPictureMemory() = default;
  // Makes memory for a black width x height picture of a segment of the given depth
  // (24 or 32) and returns its view: top-down rows, Stride at least width x bytes per
  // pixel, Depth 24 or 32 (it need not be the segment's depth). Returns an empty view
  // when the memory cannot be made. Memory made before is released first.
  virtual TkoPictureView Make(int32_t width, int32_t height, int32_t depth) = 0;
  virtual void Release() = 0;
};

// The default: a TkoPicture at the segment's depth, or always at depth (24 or 32).
class TkoOwnedPictureMemory : public TPictureMemory {
public:
  explicit TkoOwnedPictureMemory(int32_t depth = 0) : FDepth(depth) {}
  TkoPictureView Make(int32_t width, int32_t height, int32_t depth) override;
  void Release() override { FPicture.Release(); }

private:
  int32_t FDepth;
  TkoPicture FPicture;
};

// What the frame source tells its surroundings and asks of them.
class TFrameSourceHost {
public:
  virtual ~TFrameSourceHost() = default;
  // The display's current bits per pixel; a change makes the picture anew.
  virtual int32_t DisplayDepth() const { return 32; }
  // A segment of a depth other than 24 or 32 is started: the shell shows the
  // "WrongDisplaySettings" text formatted with depth and minimises its window. Called
  // from PrepareDisplay; it may run a message loop (the engine checks afterwards
  // whether a command moved it to another segment).
  virtual void UnsupportedDepth(int32_t depth) { (void)depth; }
  // A frame record was damaged: too large for the frame buffer (skipped), its size
  // disagreeing with its run count, or its runs not covering the frame exactly; text
  // is one English line. Called once per segment, from inside a tick: it must not run
  // a message loop (post the message and show it later).
  virtual void DamagedRecord(const std::string& text) { (void)text; }
};

// Built-in text of "WrongDisplaySettings", formatted with the depth.
inline constexpr const char* kDefaultWrongDisplaySettings =
    "Данный видео режим не поддерживается (%d бит цвет)";

class TkoFrameSource : public TFrameSource {
public:
  // host and memory may be null (a silent 32-bit display; owned memory); both must
  // outlive the source.
  explicit TkoFrameSource(TFrameSourceHost* host = nullptr, TPictureMemory* memory = nullptr);
  TkoFrameSource(const TkoFrameSource&) = delete;
  TkoFrameSource& operator=(const TkoFrameSource&) = delete;
  ~TkoFrameSource() override;

  // Grows the pointer's save-under area for the segment's cursors and makes the
  // picture anew when the size or depth changed, the segment's depth differs from the
  // display depth recorded when the picture was made last, or the display depth
  // changed since. A depth other than 24 or 32 is reported to the host and leaves no
  // picture: nothing of that segment is drawn, though its clock runs. Always returns
  // true (there is always a segment here).
  bool PrepareDisplay(const TSegmentInfo& segment) override;
  void ClearPictures() override;
  // Allocates FrameBufferSize(W, H) bytes anew; a size that cannot be had leaves no
  // buffer, which the next LoadFrame reports.
  void ResetFrameBuffer(const TSegmentInfo& segment) override;
  void ResetCursor() override { FOverlay.Reset(); }
  // Throws EkoError with the data file's message when the record cannot be read. A
  // damaged record that can be stepped over is reported to the host (once per
  // segment) instead: one too large for the frame buffer is skipped and leaves the
  // picture as it is for its frame; one whose size disagrees with its run count is
  // laid as far as its runs go.
  void LoadFrame(TSegmentInfo& segment) override;
  // Returns at once for a depth that is not drawn. Throws EkoError("UnpackFrame:
  // Frame Is Nil") without a frame buffer and EkoError("UnpackFrame: PXorFrame Is Nil")
  // when the picture could not be made.
  void UnpackFrame(const TSegmentInfo& segment) override;
  // Lays the record in the frame buffer on the picture. A record whose runs cover
  // more or fewer pixels than the frame is laid as far as it goes and reported to the
  // host once per segment.
  void ApplyDifference(const TSegmentInfo& segment) override;
  void RestoreCursor() override { FOverlay.Restore(FPicture); }
  // Reads the next sample of the segment's track (the last one stays at the track's
  // end) and selects the cursor it names.
  void ReadCursorSample(TSegmentInfo& segment) override;
  void SaveCursorBackground() override { FOverlay.Save(FPicture); }
  void DrawCursor() override;
  void CommitCursor() override { FOverlay.Commit(); }
  // Starts from the picture on hand when it lies between the latest kept picture at or
  // before frame and frame, else from that kept picture (or black), and lays the
  // records up to frame; every record laid on the way counts for the seek index as in
  // playback. For a depth that is not drawn only the stream is placed. Damaged records
  // are handled and reported as LoadFrame and ApplyDifference handle them.
  void SeekFrame(TSegmentInfo& segment, int32_t frame) override;
  void ForgetSeekIndex() override;
  // SeekFrame's picture in steps, for a decoder that must answer between them: BeginSeek
  // chooses the picture to start from as SeekFrame does, and each ContinueSeek lays at
  // most records records on it; it returns true once the picture shows frame (without
  // the pointer: take it out before BeginSeek). The frame stream is left after the
  // record laid last. Only for a segment prepared and drawn; throws as SeekFrame.
  void BeginSeek(TSegmentInfo& segment, int32_t frame);
  bool ContinueSeek(TSegmentInfo& segment, int32_t frame, int32_t records);
  // Takes what another decoder's seek index knows of the same segment data.
  void LearnSeekIndex(const TSegmentInfo& segment, const TSeekKnowledge& knowledge) {
    FSeekIndex.Learn(segment, knowledge);
  }

  // The budget for the seek index's pictures (TkoSeekIndex::kDefaultBudget at first).
  void SetSeekBudget(size_t bytes) { FSeekIndex.SetBudget(bytes); }
  const TkoSeekIndex& SeekIndex() const { return FSeekIndex; }

  // Whether DrawCursor draws; off, the picture is exactly what the records make.
  void SetCursorVisible(bool visible) { FCursorVisible = visible; }

  // The current picture, pointer included; empty while a segment of another depth is
  // started or when its memory could not be made.
  const TkoPictureView& Picture() const { return FPicture; }
  // Where the picture changed since the last call, as the smallest rectangle in picture
  // pixels holding every change (the whole picture after a seek, after clearing and
  // for a new picture); empty when nothing changed. Drawing and taking out the pointer
  // are not counted: the overlay's positions tell where that happens.
  TkoRect TakeChangedArea();
  const TkoCursorOverlay& Overlay() const { return FOverlay; }
  size_t FrameBufferBytes() const { return FFrame.size(); }

private:
  void MakePicture(int32_t width, int32_t height, int32_t depth);
  void ReportDamage(const std::string& text);
  void NoteChanged(const TkoRect& area);
  void NoteAllChanged() { NoteChanged({0, 0, FPicture.Width, FPicture.Height}); }
  // seek_frame.cpp
  void NoteRecordLaid(const TSegmentInfo& segment, int64_t recordBytes, int64_t changedPixels);
  void StartNear(const TSegmentInfo& segment, int32_t frame);
  void BlackPicture(const TSegmentInfo& segment);
  void PlaceStreamAfter(TSegmentInfo& segment, int32_t frame);

  TFrameSourceHost* FHost;
  TFrameSourceHost FSilentHost;
  TkoOwnedPictureMemory FOwnedMemory;
  TPictureMemory* FMemory;
  TkoPictureView FPicture;
  TkoRect FChangedArea;  // see TakeChangedArea
  TkoCursorOverlay FOverlay;
  std::vector<uint8_t> FFrame;

  int32_t FWidth = 0;
  int32_t FHeight = 0;
  int32_t FDepth = 0;
  // The display depth when the picture was made last; 0 before the first segment.
  int32_t FRecordedDisplayDepth = 0;
  bool FDamageReported = false;
  // The last record read was stepped over: the buffer does not hold it.
  bool FRecordSkipped = false;
  bool FCursorVisible = true;

  TkoSeekIndex FSeekIndex;
  // The segment last prepared, and the one whose records make the picture.
  uint64_t FPreparedSegment = 0;
  uint64_t FPictureSegment = 0;
  // The frame whose record was laid on the picture last: -1 for black (no record yet),
  // kUnknownFrame when the picture is not one the index can tell.
  static constexpr int32_t kUnknownFrame = -2;
  int32_t FPictureFrame = kUnknownFrame;
  // What laying records 0 .. FPictureFrame cost (see RecordCost).
  int64_t FPictureCost = 0;
  // The frame of the record in the frame buffer; -1 when not known.
  int32_t FBufferFrame = -1;
};
