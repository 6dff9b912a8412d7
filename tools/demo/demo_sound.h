#pragma once
// The demo's sound track: the sounds a desktop makes while someone works, mixed at
// the times the scripts give them.
#include <cstdint>
#include <vector>

namespace demo {

constexpr int kSoundSampleRate = 44100;

enum class Cue {
  Key,       // a soft key click
  Click,     // a mouse button, pressed and released
  MenuOpen,  // a gentle two-note tone
};

struct SoundCue {
  double seconds = 0;
  Cue cue = Cue::Key;
};

// A mono track of `seconds` at kSoundSampleRate with every cue mixed in at its time;
// silence elsewhere. The same cues always give the same samples.
std::vector<int16_t> MixCues(const std::vector<SoundCue>& cues, double seconds);

}  // namespace demo
