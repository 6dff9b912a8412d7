#pragma once
// Text typed at a person's uneven pace: one key per character, a longer pause before
// each new line (the Enter key).
#include <string>
#include <vector>

namespace demo {

class Typing {
public:
  // Starts typing lines at `start` seconds; `pace` is the mean time between keys.
  Typing(std::vector<std::string> lines, double start, double pace = 0.1);

  // The lines as far as they are typed at `seconds` (the line being typed last).
  std::vector<std::string> TypedAt(double seconds) const;
  // When each key goes down, characters and Enter keys alike.
  const std::vector<double>& KeyTimes() const { return FKeyTimes; }
  // When the last key goes down.
  double End() const { return FKeyTimes.empty() ? FStart : FKeyTimes.back(); }

private:
  std::vector<std::string> FLines;
  double FStart;
  std::vector<double> FKeyTimes;
};

}  // namespace demo
