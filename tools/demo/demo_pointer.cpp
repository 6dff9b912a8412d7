#include "demo_pointer.h"

#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>

#include "writer/data_file_writer.h"

namespace demo {
namespace {
constexpr int kCursorSize = 32;

// 'X' black, '.' white, anything else transparent.
using Art = std::vector<std::string>;

const Art kArrowArt = {
    "X",           "XX",          "X.X",         "X..X",        "X...X",       "X....X",      "X.....X",
    "X......X",    "X.......X",   "X........X",  "X.....XXXXX", "X..X..X",     "X.X X..X",    "XX  X..X",
    "X    X..X",   "     X..X",   "      X..X",  "      X..X",  "       XX",
};

const Art kIBeamArt = {
    " ... ... ", ".XXX.XXX.", " ...X... ", "   .X.   ", "   .X.   ", "   .X.   ",
    "   .X.   ", "   .X.   ", "   .X.   ", "   .X.   ", "   .X.   ", "   .X.   ",
    "   .X.   ", " ...X... ", ".XXX.XXX.", " ... ... ",
};

const Art kHandArt = {
    "     XX",          "    X..X",         "    X..X",         "    X..X",         "    X..X",
    "    X..XXX",       "    X..X..XXX",    "    X..X..X..XX",  " XX X..X..X..X.X", "X..XX........X.X",
    "X...X..........X", " X.............X", "  X............X", "  X...........X",  "   X..........X",
    "   X.........X",   "    X........X",   "    X........X",   "    XXXXXXXXXX",
};

filmwriter::Bytes CursorFromArt(const Art& art, int hotX, int hotY) {
  std::vector<uint8_t> andMask(kCursorSize * kCursorSize, 1), xorMask(kCursorSize * kCursorSize, 0);
  for (size_t y = 0; y < art.size(); ++y)
    for (size_t x = 0; x < art[y].size(); ++x) {
      const char c = art[y][x];
      if (c != 'X' && c != '.') continue;
      andMask[y * kCursorSize + x] = 0;
      xorMask[y * kCursorSize + x] = c == '.' ? 1 : 0;
    }
  return filmwriter::CursorRecord(
      filmwriter::MonochromeCursor(hotX, hotY, kCursorSize, kCursorSize, andMask, xorMask));
}

double EaseInOut(double u) { return u * u * (3 - 2 * u); }
}  // namespace

std::vector<filmwriter::Bytes> PointerCursorRecords() {
  return {CursorFromArt(kArrowArt, 0, 0), CursorFromArt(kIBeamArt, 4, 8), CursorFromArt(kHandArt, 5, 0)};
}

PointerPath::PointerPath(std::vector<Waypoint> waypoints) : FWaypoints(std::move(waypoints)) {
  if (FWaypoints.empty()) throw std::invalid_argument("a pointer path needs a waypoint");
  for (size_t i = 1; i < FWaypoints.size(); ++i)
    if (FWaypoints[i].seconds < FWaypoints[i - 1].seconds)
      throw std::invalid_argument("pointer waypoints must be in time order");
}

PointerPosition PointerPath::At(double seconds) const {
  size_t next = 0;
  while (next < FWaypoints.size() && FWaypoints[next].seconds <= seconds) ++next;
  if (next == 0) return {FWaypoints.front().x, FWaypoints.front().y};
  if (next == FWaypoints.size()) return {FWaypoints.back().x, FWaypoints.back().y};
  const Waypoint& a = FWaypoints[next - 1];
  const Waypoint& b = FWaypoints[next];
  const double u = EaseInOut((seconds - a.seconds) / (b.seconds - a.seconds));
  // A hand pulls the mouse on an arc: bow sideways by up to a twelfth of the distance.
  const double dx = b.x - a.x, dy = b.y - a.y, bow = std::sin(u * std::numbers::pi) / 12;
  return {int(std::lround(a.x + dx * u + dy * bow)), int(std::lround(a.y + dy * u - dx * bow))};
}

}  // namespace demo
