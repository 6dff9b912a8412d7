#include "text/reading_choice.h"

#include <algorithm>

namespace {
constexpr int32_t kKnownWorth = 15;  // confidence a reading of dictionary words is worth, more than a lead
}  // namespace

std::string ReadingText(const std::vector<TReadWord>& words) {
  std::string text;
  for (const TReadWord& word : words) text += (text.empty() ? "" : " ") + word.Text;
  return text;
}

int32_t LeastSure(const std::vector<TReadWord>& words) {
  int32_t least = 100;
  for (const TReadWord& word : words) least = std::min(least, word.Confidence);
  return least;
}

int32_t ReadingScore(const TReading& reading) {
  if (reading.Words.empty()) return -1;
  return LeastSure(reading.Words) + (reading.AllKnown ? kKnownWorth : 0);
}

std::vector<TReadWord> ChosenReading(const std::vector<TReading>& readings, int32_t lead) {
  if (readings.empty()) return {};
  const TReading* chosen = &readings[0];
  int32_t best = ReadingScore(readings[0]) + (readings[0].Words.empty() ? 0 : lead);
  for (const TReading& reading : readings)
    if (ReadingScore(reading) > best) {
      chosen = &reading;
      best = ReadingScore(reading);
    }
  return chosen->Words;
}
