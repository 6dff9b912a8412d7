#include "playback/player_events.h"

void TPlayerEvents::Listen(TListener listener) {
  if (listener) FListeners.push_back(std::move(listener));
}

void TPlayerEvents::Notify(const TPlayerNotice& notice) const {
  // A copy: a listener may add another while it is told.
  const std::vector<TListener> listeners = FListeners;
  for (const TListener& listener : listeners) listener(notice);
}
