#pragma once
// The segments of the demo film, a short lesson in a text editor.
#include "writer/film_writer.h"

namespace demo {

// 560 x 380, 10 fps, three pointer samples per frame, LZX cabinet, with sound: the
// pointer glides into an empty editor and clicks; three lines are typed, a key click
// for every key; the pointer drifts up to the File menu.
filmwriter::SegmentSpec TypingSegment();

// 800 x 600 (the player's window grows), 12 fps, LZMA, with sound: File opens with a
// tone, the pointer runs down the list with the highlight under it, picks Save As...;
// the file name is typed into the dialog and Save pressed; the title shows the name.
filmwriter::SegmentSpec MenuSegment();

// 480 x 320 at 24 bits per pixel, 10 fps, MSZIP cabinet, no sound: a copy dialog's
// progress bar fills file by file; the pointer (a hand over the button) presses Close.
filmwriter::SegmentSpec CopySegment();

}  // namespace demo
