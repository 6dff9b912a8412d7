#pragma once
// The loudness of a segment's sound, as the activity model takes it: the RMS level of
// every window of a fixed length, in dBFS (20 log10 of the RMS of the samples, full
// scale 1.0: a full-scale sine is about -3 dBFS, digital silence minus infinity). Each
// player decodes the sound with what its platform offers and feeds the samples to a
// TSoundLevelMeter, which does the arithmetic the same way everywhere.
#include <cstdint>
#include <vector>

struct TSoundLevels {
  static constexpr int32_t kDefaultWindowMilliseconds = 100;
  // Window w covers [w x WindowMilliseconds, (w + 1) x WindowMilliseconds) from the
  // sound's start; the last one may hold fewer samples.
  int32_t WindowMilliseconds = kDefaultWindowMilliseconds;
  std::vector<float> Db;
};

class TSoundLevelMeter {
public:
  // For interleaved samples of channels channels at sampleRate per second. A rate or
  // channel count below 1 counts as 1; a window shorter than one sample holds one.
  TSoundLevelMeter(int32_t sampleRate, int32_t channels,
                   int32_t windowMilliseconds = TSoundLevels::kDefaultWindowMilliseconds);

  // Adds frames sample frames (frames x channels values, -1.0 .. 1.0 at full scale).
  void Add(const float* samples, int64_t frames);
  // The levels of every window so far, the last partly filled one included; the meter
  // is empty afterwards.
  TSoundLevels Finish();

private:
  void CloseWindow();
  // The sample frame at which the current window ends: windows are placed by the
  // sound's clock, so that a rate that does not divide into whole windows (22,050 per
  // second in 100 ms) does not make them drift.
  int64_t WindowEnd() const;

  int64_t FRate;
  int32_t FChannels;
  int64_t FFramesSeen = 0;
  int64_t FFramesInWindow = 0;
  double FSumOfSquares = 0;
  TSoundLevels FLevels;
};

// The dBFS of the RMS of values whose squares add up to sumOfSquares; minus infinity
// when it is 0 or there are no values.
float RmsDb(double sumOfSquares, int64_t values);
