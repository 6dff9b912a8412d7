#pragma once
// Frame records onto pictures. A record is i32 size S (counting itself), i32 run count
// R, then R runs of 5 bytes: blue, green, red, u16 pixel count. The runs cover the
// frame left to right, top to bottom, rows running on without a break; a run's colour
// is a difference combined with the picture by exclusive or.
//
// Two ways to lay a record on the picture, with the same result for every intact
// record:
//   ApplyFrameRecord - straight onto the picture, touching only the pixels of runs
//     whose colour is not 0 (a frame that changes a few words costs a few words);
//     the player's per-frame path, kept tight for records of one run per pixel;
//   UnpackFrame + XorPicture - expand every run into a difference buffer of the
//     frame's size, then lay the whole buffer on the picture.
// Neither allocates, and neither reads outside the record's bytes nor writes outside
// the picture, whatever the record says.
#include <cstdint>
#include <span>

#include "playback/ko_picture.h"

enum class TkoFrameStatus : uint8_t {
  kComplete,   // the runs covered the frame exactly
  kShort,      // they covered fewer pixels than the frame
  kOverrun,    // they covered more; the pixels past the frame were dropped
  kBadRecord,  // size, run count and the bytes at hand disagree; only the runs
               // inside the record and the bytes at hand were used
  kNoPicture,  // the picture is empty or not 24 or 32 bits per pixel; nothing done
};

// A one-line English description of a damaged record for the user; "" for kComplete.
const char* FrameStatusText(TkoFrameStatus status);

// Lays the record's runs on the picture by exclusive or. The frame is the picture's
// Width x Height; the picture may be 24 or 32 bits per pixel whatever the segment's
// depth (runs carry three colour bytes; a 32-bit pixel's fourth byte is kept).
// record holds the bytes at hand, size field first; bytes past S are ignored.
// A short record changes only the pixels it covers: unlike UnpackFrame, nothing of an
// earlier record is laid on the picture again. With changedPixels, stores there how
// many pixels the runs of a colour other than 0 covered (the work done on the picture);
// with changedArea, the smallest rectangle holding them (empty when there are none).
TkoFrameStatus ApplyFrameRecord(std::span<const uint8_t> record, const TkoPictureView& picture,
                                int64_t* changedPixels = nullptr, TkoRect* changedArea = nullptr);

// What a record changes, found without a picture: the pixels covered by runs of a
// colour other than 0 and the smallest rectangle holding them, for a frame of width x
// height (the same figures ApplyFrameRecord gives). Runs past the frame are dropped; a
// damaged record counts only the runs inside its bytes, as laying it would.
struct TkoRecordChange {
  int64_t ChangedPixels = 0;
  TkoRect Area;
};
TkoRecordChange MeasureFrameRecord(std::span<const uint8_t> record, int32_t width, int32_t height);

// Expands the record into difference (the frame's Width x Height at the segment's
// depth, 24 or 32): every covered pixel gets its run's colour (colour 0 included, and
// a fourth byte 0 at depth 32); the row padding and pixels the runs do not reach keep
// what they held, so a short record leaves part of the previous difference in place,
// to be laid on the picture again by the next XorPicture.
TkoFrameStatus UnpackFrame(std::span<const uint8_t> record, const TkoPictureView& difference);
