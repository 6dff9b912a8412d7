#pragma once
// The film as the page's export sees it: loaded on its own (the export runs in a
// worker of its own while the page plays on), its segments described for the page,
// and the pictures of a segment handed out one at a time as canvas pixels, so that the
// worker can wait for its encoder between two pictures.
#include <cstdint>
#include <filesystem>
#include <string>

#include "film/segment_list.h"
#include "playback/segment_pictures.h"
#include "web/picture_rgba.h"

class TWebExport {
public:
  // Loads the film at path (a plain film or one behind a player), unpacking into
  // folder, which must outlive this. Throws EkoError when it cannot be read.
  TWebExport(const std::filesystem::path& film, const std::filesystem::path& folder);

  // A JSON array, one object per segment of the film in order: "drawable" (it can be
  // exported; else "skipped" says why not, as kof export does), "width", "height", "rate" (pictures per second: the frame rate times
  // the pointer's samples per frame), "samples" (per frame), "pictures" (frames times
  // samples) and "sound" (the path of its MP3 in this file system, or "").
  std::string SegmentsJson() const;

  // Starts on the pictures [first, end) of segment index (from 0); false when that
  // segment cannot be exported.
  bool Begin(int32_t index, int32_t first, int32_t end);
  // The next picture, the segment's size in canvas pixels (valid until the next call),
  // or nullptr after the last one or at a record that cannot be read (Failure()).
  const TRgbaPicture* Next();
  const std::string& Failure() const { return FPictures.Failure(); }

private:
  TSegmentList FSegments;
  TSegmentPictures FPictures;
  TRgbaPicture FRgba;
};
