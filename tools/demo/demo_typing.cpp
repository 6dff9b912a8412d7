#include "demo_typing.h"

namespace demo {
namespace {
// 0 to 1, the same for the same key number: the unevenness of a typist.
double Jitter(size_t key) {
  uint32_t x = uint32_t(key) * 2654435761u + 0x5bd1e995u;
  x ^= x >> 15;
  x *= 0x2c1b3c6dU;
  x ^= x >> 12;
  return (x & 0xFFFF) / 65535.0;
}
}  // namespace

Typing::Typing(std::vector<std::string> lines, double start, double pace) : FLines(std::move(lines)), FStart(start) {
  double t = start;
  for (size_t line = 0; line < FLines.size(); ++line) {
    if (line > 0) {  // Enter, after a look at what comes next
      FKeyTimes.push_back(t += 2.5 * pace);
      t += pace;
    }
    for (size_t c = 0; c < FLines[line].size(); ++c) {
      FKeyTimes.push_back(t);
      t += pace * (0.6 + 0.8 * Jitter(FKeyTimes.size()));
    }
  }
}

std::vector<std::string> Typing::TypedAt(double seconds) const {
  std::vector<std::string> typed;
  size_t key = 0;
  for (size_t line = 0; line < FLines.size(); ++line) {
    if (line > 0 && (key >= FKeyTimes.size() || FKeyTimes[key++] > seconds)) break;
    typed.emplace_back();
    for (char c : FLines[line]) {
      if (FKeyTimes[key] > seconds) return typed;
      typed.back().push_back(c);
      ++key;
    }
  }
  return typed;
}

}  // namespace demo
