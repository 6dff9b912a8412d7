#pragma once
// What the note above the progress bar shows, decided without a window. The mouse asks
// for one frame after another; the pictures come later, from a decoder that may still
// be busy with an older request (or first gives the nearest picture at hand). The note
// therefore takes its segment name and time from the picture it shows, never from where
// the mouse has gone since, so the two always belong together.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "playback/preview_decoder.h"

class TSegmentList;

class TBarPreviewNote {
public:
  // toUtf8 turns a segment's name (in the film's code page) into UTF-8.
  TBarPreviewNote(const TSegmentList& segments, std::function<std::string(const std::string&)> toUtf8);

  // The mouse is over the bar where a seek would show frame of segment. Returns the
  // request to hand the decoder, or nothing when it already works on that frame.
  std::optional<TPreviewRequest> Hover(int32_t segment, int32_t frame, int32_t maxWidth);
  // The mouse left the bar (or pressed it): the note goes, and pictures that arrive
  // later are not shown.
  void Leave();
  bool Hovering() const { return FSegment >= 0; }

  // A picture came from the decoder. Returns true when the note now shows it, with
  // Text() made from its own segment and frame; false while the mouse is off the bar.
  bool Take(const TPreviewPicture& picture);
  // The note's two lines: the name of the shown picture's segment and the time its frame
  // starts in the film ("hh:nn:ss"); empty before a picture was shown.
  const std::string& Text() const { return FText; }

private:
  const TSegmentList& FSegments;
  std::function<std::string(const std::string&)> FToUtf8;
  int32_t FSegment = -1;  // asked last; -1 while the mouse is elsewhere
  int32_t FFrame = 0;
  std::string FText;
};
