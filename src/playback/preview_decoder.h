#pragma once
// A second decoder over a film's segment data, for the picture above the progress bar.
// It holds copies of what it needs of the segments and opens their data files with its
// own handles, so it never touches the playing engine's picture or streams: the
// playing picture never waits for it, nor it for the playing picture. What the playing
// engine's seek index has learnt comes with each request (shared, not copied), so that
// a film read once by playback is previewed anywhere at once.
//
// It works in steps of a few records, so that its owner stays responsive: a thread of
// its own (TPreviewWorker) or, in the browser, the player's worker between ticks. Each
// picture is the frame a seek there would show, pointer included, reduced by the rule
// of preview_picture.h. A frame beyond the records read so far first gets the nearest
// picture at hand (an earlier preview of the segment), then the exact one.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "playback/frame_source.h"
#include "playback/preview_picture.h"
#include "playback/seek_index.h"

class TSegmentList;
struct TSegmentInfo;

struct TPreviewRequest {
  int32_t Segment = -1;  // the film's segment index; -1 asks for nothing
  int32_t Frame = 0;
  int32_t MaxWidth = kPreviewMaxWidth;
  // What the playing engine's seek index knows of the segment; may be empty.
  TSeekKnowledge Knowledge;
};

struct TPreviewPicture {
  int32_t Segment = -1;
  int32_t Frame = -1;
  // False for the nearest picture at hand, shown while the exact one is being made.
  bool Exact = false;
  TkoPicture Picture;  // 32 bits a pixel
};

class TPreviewDecoder {
public:
  // How many previews are kept for going back to them at once.
  static constexpr size_t kCachedPictures = 24;

  // Copies the segments' sizes, rates, pointer images and tracks, and notes their data
  // files (call it where the film lives; the files are opened on first use, by whoever
  // calls Step). pictureDepth is the depth of the playing engine's pictures (32 on
  // Windows), whose kept pictures this decoder can use only at that depth; 0 keeps
  // each segment's own depth.
  TPreviewDecoder(const TSegmentList& film, int32_t pictureDepth);
  ~TPreviewDecoder();
  TPreviewDecoder(const TPreviewDecoder&) = delete;
  TPreviewDecoder& operator=(const TPreviewDecoder&) = delete;

  // Gives up the request before and takes this one. A frame previewed before is ready
  // at once; so is the nearest picture at hand when the frame lies beyond the records
  // read so far.
  void Request(TPreviewRequest request);
  // Works on the request, laying at most records records. Returns true when Result()
  // holds a new picture. A segment that cannot be shown, or a record that cannot be
  // read, ends the request without a picture.
  bool Step(int32_t records);
  // The request still waits for its exact picture.
  bool Busy() const { return FWorking || FReady; }
  const TPreviewPicture& Result() const { return FResult; }

private:
  struct TSegmentCopy;
  void Start(TSeekKnowledge knowledge);
  bool Enter(int32_t index);
  void Finish();
  void Publish(const TPreviewPicture& picture);
  bool SameWidth(const TPreviewPicture& cached, int32_t maxWidth) const;
  const TPreviewPicture* Cached(int32_t segment, int32_t frame, int32_t maxWidth) const;
  const TPreviewPicture* Nearest(int32_t segment, int32_t frame, int32_t maxWidth) const;

  std::vector<std::unique_ptr<TSegmentCopy>> FSegments;
  TkoOwnedPictureMemory FMemory;
  TkoFrameSource FFrames;
  int32_t FEntered = -1;  // the segment the frame source is prepared for
  TPreviewRequest FRequest;
  bool FWorking = false;  // the request's exact picture is being made
  bool FReady = false;    // Result() holds a picture Step has not reported yet
  TPreviewPicture FResult;
  std::vector<TPreviewPicture> FCache;  // the latest made last
};
