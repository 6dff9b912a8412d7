#pragma once
// The film Find on screen is tested with, in the Windows player and in the page:
// search.kof, two segments with real text for kof index to read.
#include "moving_film.h"
#include "film_text/truetype_text.h"

namespace testfilms {

// 800 x 480 at 10 fps, 6 s, dark text on white in DejaVu Sans 11 pt near the top:
// "File Edit View" throughout and, from the frame `from` on, "Open the Settings dialog".
// A square in the lower right corner takes the frame's number as its colour, so that
// no two frames are alike.
inline SegmentSpec TextSegment(const char* name, int from) {
  const TrueTypeFont font(FontFace::DejaVuSans, 11);
  SegmentSpec spec;
  spec.data.name = name;
  for (int k = 0; k < 60; ++k) {
    Picture picture = Picture::Filled(800, 480, 0xFFFFFF);
    font.Draw(picture, 12, 8, "File   Edit   View", 0x202020);
    if (k >= from) font.Draw(picture, 40, 70, "Open the Settings dialog", 0x202020);
    FillBox(picture, 776, 456, 16, 16, uint32_t(k * 4) << 16 | 0x0080FF);
    spec.data.pictures.push_back(picture);
  }
  spec.soundKind = kSoundWave;
  spec.packing = Packing::MsZip;
  return spec;
}

// Segment 1 ("Menu") shows the sentence from 2.0 s, segment 2 ("Dialog") from 1.0 s.
inline Bytes SearchFilm() { return WithTrailer(BuildFilm({TextSegment("Menu", 20), TextSegment("Dialog", 10)})); }

}  // namespace testfilms
