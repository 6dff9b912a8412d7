// Fuzzes the cursor record decoder and the pointer drawing: the input is a run of
// cursor records; each decoded cursor is drawn at the picture's corners and middle.
#include <cstdint>

#include "film/ko_stream.h"
#include "playback/cursor_drawing.h"
#include "playback/ko_picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TkoMemoryStream stream;
  stream.Write(data, static_cast<int32_t>(size));
  stream.SetPosition(0);
  TkoPicture picture(37, 23, size % 2 ? 24 : 32);
  for (int record = 0; record < 8; ++record) {
    TkoCursor cursor;
    cursor.Load(stream);
    for (const TkoPoint point : {TkoPoint{0, 0}, TkoPoint{36, 22}, TkoPoint{18, 11}, TkoPoint{-5, 40}})
      DrawCursor(cursor, picture.View(), point.X, point.Y);
    if (!cursor.RecordConsumed()) break;
  }
  return 0;
}
