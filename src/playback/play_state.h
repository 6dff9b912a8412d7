#pragma once
// The transport state. Only the playback engine changes it; the shell, the panel and
// the rendering read it.
#include <cstdint>

enum TPlayState : uint8_t {
  psStopped = 0,
  psPlaying = 1,
  psPaused = 2,
};
