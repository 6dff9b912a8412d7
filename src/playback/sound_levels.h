#pragma once
// The loudness of a segment's sound, as the activity model takes it: the RMS level of
// windows of a fixed length placed every step, in dBFS (20 log10 of the RMS of the
// samples, full scale 1.0: a full-scale sine is about -3 dBFS, digital silence minus
// infinity), of the loudest channel, so that a voice in one channel of two reads as
// loud as in one of one. The windows overlap, so that a short sound lies whole in one of
// them wherever it falls. Each player decodes the sound with what its platform offers
// and feeds the samples to a TSoundLevelMeter, which does the arithmetic the same way
// everywhere.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

struct TSoundLevels {
  static constexpr int32_t kDefaultWindowMilliseconds = 100;
  static constexpr int32_t kDefaultStepMilliseconds = 25;
  // Window w covers [w x StepMilliseconds, w x StepMilliseconds + WindowMilliseconds)
  // from the sound's start, one for every step that starts in the sound; the last ones
  // hold fewer samples. The window is a whole number of steps.
  int32_t WindowMilliseconds = kDefaultWindowMilliseconds;
  int32_t StepMilliseconds = kDefaultStepMilliseconds;
  std::vector<float> Db;
};

class TSoundLevelMeter {
public:
  // For interleaved samples of channels channels at sampleRate per second. A rate or
  // channel count below 1 counts as 1; a step shorter than one sample holds one; the
  // window is rounded down to whole steps, at least one.
  TSoundLevelMeter(int32_t sampleRate, int32_t channels,
                   int32_t windowMilliseconds = TSoundLevels::kDefaultWindowMilliseconds,
                   int32_t stepMilliseconds = TSoundLevels::kDefaultStepMilliseconds);

  // Adds frames sample frames (frames x channels values, -1.0 .. 1.0 at full scale).
  void Add(const float* samples, int64_t frames);
  // The levels of every window so far, those of the last steps included; the meter is
  // empty afterwards.
  TSoundLevels Finish();

private:
  // One step's sum of squares per channel.
  struct TStep {
    std::vector<double> Squares;
    int64_t Frames = 0;
  };

  void CloseStep();
  void AddWindow();
  // The sample frame at which the current step ends: steps are placed by the sound's
  // clock, so that a rate that does not divide into whole steps (22,050 per second in
  // 25 ms) does not make them drift.
  int64_t StepEnd() const;

  int64_t FRate;
  int32_t FChannels;
  size_t FStepsPerWindow;
  int64_t FStepsClosed = 0;
  int64_t FFramesSeen = 0;
  TStep FStep;
  std::deque<TStep> FRecent;  // the closed steps of the next window, up to a window's
  TSoundLevels FLevels;
};

// The dBFS of the RMS of values whose squares add up to sumOfSquares; minus infinity
// when it is 0 or there are no values.
float RmsDb(double sumOfSquares, int64_t values);
