#pragma once
// What the player tells those who listen: it started, the film plays, pauses or stops,
// a segment started, the player closes. A listener is any function; the publisher keeps
// it for its own life.
#include <cstdint>
#include <functional>
#include <vector>

// The values are the ones the player has always numbered its events with.
enum class TPlayerEvent : uint8_t {
  kStarted = 0,
  kPlay = 1,
  kPause = 2,
  kStop = 3,
  kSegmentStarted = 4,
  kClosing = 6,
};

struct TPlayerNotice {
  TPlayerEvent Event = TPlayerEvent::kStarted;
  // The segment that started (kSegmentStarted), from 0; 0 for the other events.
  int32_t Segment = 0;
};

class TPlayerEvents {
public:
  using TListener = std::function<void(const TPlayerNotice&)>;
  // Appends a listener; an empty function is ignored.
  void Listen(TListener listener);
  // Tells every listener, first to last. A listener added meanwhile hears the next one.
  void Notify(const TPlayerNotice& notice) const;

private:
  std::vector<TListener> FListeners;
};
