#pragma once
// The recorded mouse pointer: its three images, and a path that glides between points
// the way a hand moves a mouse (easing in and out, on a slight arc).
#include <cstdint>
#include <vector>

#include "writer/film_bytes.h"

namespace demo {

// Cursor record numbers, in the order of PointerCursorRecords().
enum PointerShape : uint16_t { kArrow = 0, kIBeam = 1, kHand = 2 };

// Monochrome 32 x 32 cursor records of the arrow, the text I-beam and the pointing hand.
std::vector<filmwriter::Bytes> PointerCursorRecords();

struct Waypoint {
  double seconds = 0;  // the pointer is here at this time
  int x = 0, y = 0;
};

struct PointerPosition {
  int x = 0, y = 0;
};

class PointerPath {
public:
  // Waypoints in time order. Between two waypoints at one place the pointer rests;
  // between two places it glides. Before the first and after the last it stays put.
  explicit PointerPath(std::vector<Waypoint> waypoints);

  PointerPosition At(double seconds) const;

private:
  std::vector<Waypoint> FWaypoints;
};

}  // namespace demo
