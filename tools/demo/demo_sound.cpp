#include "demo_sound.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace demo {
namespace {
using Samples = std::vector<float>;

// Noise from a fixed seed, so the track is the same at every run.
class Noise {
public:
  explicit Noise(uint32_t seed) : FState(seed | 1) {}
  float Next() {
    FState ^= FState << 13;
    FState ^= FState >> 17;
    FState ^= FState << 5;
    return float(FState) / float(UINT32_MAX) * 2.0f - 1.0f;
  }

private:
  uint32_t FState;
};

float Decay(int sample, double milliseconds) {
  return float(std::exp(-sample / (milliseconds * kSoundSampleRate / 1000.0)));
}

// Low-passed noise with a short thump under it: a key of a quiet keyboard.
Samples KeyClick(uint32_t seed) {
  Samples out(size_t(kSoundSampleRate * 0.04));
  Noise noise(seed);
  float smooth = 0;
  for (size_t i = 0; i < out.size(); ++i) {
    smooth += 0.35f * (noise.Next() - smooth);
    const double t = double(i) / kSoundSampleRate;
    const float thump = float(std::sin(2 * std::numbers::pi * 180 * t));
    out[i] = 0.22f * smooth * Decay(int(i), 5) + 0.12f * thump * Decay(int(i), 8);
  }
  return out;
}

// Two short ticks 70 ms apart: the button going down and coming up.
Samples MouseClick(uint32_t seed) {
  Samples out(size_t(kSoundSampleRate * 0.1));
  Noise noise(seed);
  const size_t release = size_t(kSoundSampleRate * 0.07);
  for (size_t i = 0; i < out.size(); ++i) {
    const float tick = noise.Next() * Decay(int(i), 1.5) * 0.35f;
    const float up = i >= release ? noise.Next() * Decay(int(i - release), 1.2) * 0.2f : 0.0f;
    out[i] = tick + up;
  }
  return out;
}

// Two soft sine notes, a fifth apart, each fading in quickly and dying away.
Samples MenuTone() {
  Samples out(size_t(kSoundSampleRate * 0.3));
  const double notes[] = {659.25, 987.77};
  const size_t second = size_t(kSoundSampleRate * 0.06);
  for (size_t i = 0; i < out.size(); ++i)
    for (int n = 0; n < 2; ++n) {
      const size_t start = n == 0 ? 0 : second;
      if (i < start) continue;
      const size_t k = i - start;
      const double t = double(k) / kSoundSampleRate;
      const float attack = float(std::min(1.0, t / 0.008));
      out[i] += 0.16f * attack * Decay(int(k), 60) * float(std::sin(2 * std::numbers::pi * notes[n] * t));
    }
  return out;
}

Samples CueSound(Cue cue, uint32_t seed) {
  switch (cue) {
    case Cue::Key: return KeyClick(seed);
    case Cue::Click: return MouseClick(seed);
    case Cue::MenuOpen: return MenuTone();
  }
  return {};
}
}  // namespace

std::vector<int16_t> MixCues(const std::vector<SoundCue>& cues, double seconds) {
  Samples mix(size_t(std::max(0.0, seconds) * kSoundSampleRate));
  uint32_t seed = 0x9E3779B9;
  for (const SoundCue& cue : cues) {
    const Samples sound = CueSound(cue.cue, seed += 0x6D2B79F5);
    const size_t start = size_t(std::max(0.0, cue.seconds) * kSoundSampleRate);
    for (size_t i = 0; i < sound.size() && start + i < mix.size(); ++i) mix[start + i] += sound[i];
  }
  std::vector<int16_t> out(mix.size());
  std::transform(mix.begin(), mix.end(), out.begin(),
                 [](float v) { return int16_t(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f)); });
  return out;
}

}  // namespace demo
