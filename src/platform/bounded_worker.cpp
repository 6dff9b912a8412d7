#include "platform/bounded_worker.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>

// What a thread and its owner share. The thread holds it too, so a given-up thread
// finds it still there when its job returns at last.
struct TBoundedWorker::TLane {
  std::mutex Mutex;
  std::condition_variable Changed;
  std::function<void()> Job;
  uint64_t Finished = 0;  // jobs ended so far
  bool Quit = false;
};

void TBoundedWorker::Serve(const std::shared_ptr<TLane>& lane) {
  std::unique_lock lock(lane->Mutex);
  for (;;) {
    lane->Changed.wait(lock, [&] { return lane->Quit || lane->Job; });
    if (!lane->Job) return;
    std::function<void()> job = std::move(lane->Job);
    lane->Job = nullptr;
    lock.unlock();
    job();
    lock.lock();
    ++lane->Finished;
    lane->Changed.notify_all();
  }
}

TBoundedWorker::~TBoundedWorker() {
  if (!FLane) return;
  {
    std::lock_guard lock(FLane->Mutex);
    FLane->Quit = true;
  }
  FLane->Changed.notify_all();
  FThread.join();
}

void TBoundedWorker::Start() {
  FLane = std::make_shared<TLane>();
  FThread = std::thread([lane = FLane] { Serve(lane); });
}

bool TBoundedWorker::Run(std::function<void()> job, std::chrono::milliseconds limit) {
  if (!FLane) Start();
  std::unique_lock lock(FLane->Mutex);
  const uint64_t ticket = FLane->Finished + 1;
  FLane->Job = std::move(job);
  FLane->Changed.notify_all();
  if (FLane->Changed.wait_for(lock, limit, [&] { return FLane->Finished == ticket; })) return true;
  // The thread ends by itself if its job ever returns.
  FLane->Quit = true;
  lock.unlock();
  FThread.detach();
  FLane.reset();
  ++FGivenUp;
  return false;
}
