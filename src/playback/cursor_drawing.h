#pragma once
// A decoded pointer image (film/ko_cursor.h) put on a picture.
#include <cstdint>

#include "film/ko_cursor.h"
#include "playback/ko_picture.h"

// Puts the cursor's image on the picture with its hot spot at (x, y): the AND plane
// first, then the XOR plane (colour cursor: mask, then colour; monochrome: the mask's
// two halves), clipped at every edge. A cursor that failed to load or an empty slot
// draws nothing.
void DrawCursor(const TkoCursor& cursor, const TkoPictureView& picture, int32_t x, int32_t y);
