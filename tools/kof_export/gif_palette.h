#pragma once
// GIF's 256 colours, exactly: the colours of a film that has no more, and its pictures
// as indices into that one palette.
#include <array>
#include <cstdint>
#include <vector>

#include "kof_export/ff_holders.h"
#include "playback/ko_picture.h"

// A set of at most 256 colours (0x00RRGGBB), each with its index in order of arrival.
class ColourIndex {
public:
  static constexpr int32_t kMaxColours = 256;

  // The colour's index, adding it when it is new; -1 when it is new and the set is full.
  int32_t Find(uint32_t colour);
  const std::vector<uint32_t>& Colours() const { return FColours; }

private:
  static constexpr size_t kSlots = 1024;  // a power of two, well above kMaxColours
  std::array<uint32_t, kSlots> FKeys{};   // colour + 1; 0 is a free slot
  std::array<int16_t, kSlots> FIndices{};
  std::vector<uint32_t> FColours;
};

// Counts the colours of 32-bit pictures (blue, green, red; the fourth byte ignored).
class ColourCounter {
public:
  // Adds the picture's colours. Returns false once there are more than 256 in all;
  // later pictures are then not looked at.
  bool Add(const TkoPictureView& picture);
  bool Overflowed() const { return FOverflowed; }
  ColourIndex& Index() { return FIndex; }

private:
  ColourIndex FIndex;
  bool FOverflowed = false;
};

// Pictures as palette frames for the GIF encoder, every frame with the same palette.
class ExactPaletteFrames {
public:
  // colours must hold every colour the pictures have. Throws EkoError when no frame can be made.
  ExactPaletteFrames(ColourIndex colours, int32_t width, int32_t height);
  // The picture in palette indices; the frame is reused by the next call.
  AVFrame* Map(const TkoPictureView& picture);

private:
  ColourIndex FIndex;
  ff::Frame FFrame;
};
