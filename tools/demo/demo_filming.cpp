#include "demo_filming.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace demo {

int FrameCount(const Script& script) { return int(std::lround(script.seconds * script.framesPerSecond)); }

filmwriter::DataFileSpec FilmScript(const Script& script, const std::string& name) {
  filmwriter::DataFileSpec spec;
  spec.name = name;
  spec.cursorRecords = PointerCursorRecords();
  spec.samplesPerFrame = script.samplesPerFrame;
  std::vector<filmwriter::CursorSample> track;
  Picture previous;  // no pixels: the first frame is laid on black
  for (int frame = 0; frame < FrameCount(script); ++frame) {
    const double start = frame / double(script.framesPerSecond);
    Picture screen = Picture::Filled(script.width, script.height, 0);
    script.draw(screen, start);
    spec.frameRecords.push_back(filmwriter::FrameRecord(filmwriter::DifferenceRuns(previous, screen)));
    previous = std::move(screen);
    for (int sample = 0; sample < script.samplesPerFrame; ++sample) {
      const PointerSample pointer =
          script.pointer(start + sample / double(script.framesPerSecond * script.samplesPerFrame));
      track.push_back({uint16_t(pointer.shape), uint16_t(std::clamp(pointer.at.x, 0, script.width - 1)),
                       uint16_t(std::clamp(pointer.at.y, 0, script.height - 1))});
    }
  }
  spec.cursorTrack = std::move(track);
  return spec;
}

}  // namespace demo
