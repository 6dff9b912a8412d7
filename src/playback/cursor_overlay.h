#pragma once
// The recorded pointer drawn into the picture with a save-under area: before the
// pointer is drawn the picture beneath it is saved, and before the picture changes
// (a new frame is laid on it) the saved part is put back, so frame differences are
// always laid on the picture without the pointer.
//
// The clock's order within one tick: Restore; ... picture changes ...; ReadSample and
// SelectCursor; Save; DrawCurrent; Commit.
#include <cstdint>
#include <vector>

#include "film/ko_cursor.h"
#include "film/ko_stream.h"
#include "playback/ko_picture.h"

// One sample of the cursor track: cursor index and hot-spot position in frame pixels.
struct TkoCursorSample {
  static constexpr int32_t kSize = 6;
  uint16_t Index = 0;
  uint16_t X = 0;
  uint16_t Y = 0;
};

class TkoCursorOverlay {
public:
  // Raises the largest cursor size to the cursor's mask width and height (or the
  // larger extent its image draws, so that the save-under area covers it). The sizes
  // only grow; when one grows the save-under area is made anew (its content lost, so
  // call Reset afterwards). Returns whether it grew; throws std::bad_alloc.
  bool GrowFor(const TkoCursor& cursor);
  bool GrowTo(int32_t width, int32_t height);

  // Puts the old and new positions off the picture, at (-largest width, -largest
  // height), forgets the current cursor and anything saved.
  void Reset();
  // Puts back the picture saved by the last Save, at the place it was saved from (the
  // old position once Commit has run), clipped to the picture. Does nothing when
  // nothing has been saved since the last Restore or Reset: when a sample drew no
  // pointer, no stale background is laid over a picture that has changed since.
  void Restore(const TkoPictureView& picture);
  // Reads the next 6-byte sample (index, x, y). Returns false and keeps the last
  // sample when fewer than 6 bytes are left.
  bool ReadSample(TkoStream& track);
  // Makes cursor (null: the sample names no cursor) the current cursor; with a cursor
  // the new position becomes the sample's point less the hot spot, else it stays.
  void SelectCursor(const TkoCursor* cursor);
  // With a current cursor: saves largest width x largest height of the picture at the
  // new position (clipped). Without one: nothing.
  void Save(const TkoPictureView& picture);
  // Draws the current cursor with its hot spot at the last sample's point.
  void DrawCurrent(const TkoPictureView& picture) const;
  // The new position becomes the old one.
  void Commit() { FOld = FNew; }

  int32_t LargestWidth() const { return FLargestWidth; }
  int32_t LargestHeight() const { return FLargestHeight; }
  TkoPoint OldPosition() const { return FOld; }
  TkoPoint NewPosition() const { return FNew; }
  const TkoCursorSample& LastSample() const { return FSample; }
  const TkoCursor* Current() const { return FCurrent; }
  bool HasSaved() const { return FHasSaved; }

private:
  uint32_t* SavedAt(int32_t x, int32_t y);

  int32_t FLargestWidth = 0;
  int32_t FLargestHeight = 0;
  // 0x00RRGGBB per pixel, LargestWidth per row.
  std::vector<uint32_t> FSaveUnder;
  TkoPoint FSavedAt;
  bool FHasSaved = false;
  TkoCursorSample FSample;
  const TkoCursor* FCurrent = nullptr;
  TkoPoint FOld;
  TkoPoint FNew;
};
