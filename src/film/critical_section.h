#pragma once
// The global lock of the player: re-entrant for the owning thread, as the playback
// tick pumps messages that may enter it again.
#include <mutex>

class TCriticalSection {
public:
  void Enter() { FSection.lock(); }
  void Leave() { FSection.unlock(); }

private:
  std::recursive_mutex FSection;
};

// Enters on construction, leaves on destruction. A null section means there is no
// lock to take (code that runs both with and without the global lock).
class TCriticalSectionScope {
public:
  explicit TCriticalSectionScope(TCriticalSection* section) : FSection(section) {
    if (FSection != nullptr) FSection->Enter();
  }
  ~TCriticalSectionScope() {
    if (FSection != nullptr) FSection->Leave();
  }
  TCriticalSectionScope(const TCriticalSectionScope&) = delete;
  TCriticalSectionScope& operator=(const TCriticalSectionScope&) = delete;

private:
  TCriticalSection* FSection;
};
