#include "session/search_worker.h"

TSearchWorker::TSearchWorker(std::function<void()> ready) : FReady(std::move(ready)), FThread([this] { Run(); }) {}

TSearchWorker::~TSearchWorker() {
  {
    const std::lock_guard lock(FLock);
    FStopping = true;
  }
  FWake.notify_one();
  FThread.join();
}

void TSearchWorker::Open(const std::filesystem::path& film) {
  {
    const std::lock_guard lock(FLock);
    FOpenAsked = film;
    ++FOpens;
    FAnswer.reset();  // of the film before
  }
  FWake.notify_one();
}

void TSearchWorker::Find(std::string query) {
  {
    const std::lock_guard lock(FLock);
    FFindAsked = std::move(query);
  }
  FWake.notify_one();
}

std::optional<TSearchAnswer> TSearchWorker::Take() {
  const std::lock_guard lock(FLock);
  std::optional<TSearchAnswer> answer = std::move(FAnswer);
  FAnswer.reset();
  return answer;
}

// An Open asked for goes first (it searches the query before again); a query asked
// meanwhile is searched after it.
void TSearchWorker::Run() {
  std::unique_lock lock(FLock);
  for (;;) {
    FWake.wait(lock, [this] { return FStopping || FOpenAsked || FFindAsked; });
    if (FStopping) return;
    const uint64_t opens = FOpens;
    std::optional<std::filesystem::path> film = std::move(FOpenAsked);
    std::optional<std::string> query = std::move(FFindAsked);
    FOpenAsked.reset();
    FFindAsked.reset();
    lock.unlock();
    if (film) FSearch.Open(*film);
    if (query) FSearch.Find(*query);
    TSearchAnswer answer = FSearch.Answer();
    lock.lock();
    if (opens != FOpens) continue;  // another film was asked for meanwhile
    FAnswer = std::move(answer);
    lock.unlock();
    if (FReady) FReady();
    lock.lock();
  }
}
