#pragma once
// Films a scripted scene: the script says what the screen and the pointer look like at
// any moment; filming samples it at the frame rate, as the recorder would.
#include <functional>
#include <string>

#include "demo_drawing.h"
#include "demo_pointer.h"
#include "writer/data_file_writer.h"

namespace demo {

struct PointerSample {
  PointerPosition at;
  PointerShape shape = kArrow;
};

struct Script {
  int width = 0, height = 0;
  float framesPerSecond = 10;
  double seconds = 0;
  int samplesPerFrame = 1;  // pointer samples per frame: 1 or 3
  std::function<void(Picture&, double seconds)> draw;  // paints the whole screen
  std::function<PointerSample(double seconds)> pointer;
};

// Frames the script shows: its length at its rate, rounded.
int FrameCount(const Script& script);

// The data file of the filmed script, named `name` (8-bit text): frame k shows the
// screen at k / rate; the pointer is sampled samplesPerFrame times per frame, evenly
// over the frame's time, the first with the frame itself. The pointer images are
// PointerCursorRecords(). Frame records are made as the frames are drawn, so only two
// pictures are held at a time.
filmwriter::DataFileSpec FilmScript(const Script& script, const std::string& name);

}  // namespace demo
