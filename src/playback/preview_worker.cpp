#include "playback/preview_worker.h"

#include <utility>

TPreviewWorker::TPreviewWorker(std::function<void()> ready)
    : FReady(std::move(ready)), FThread([this] { Run(); }) {}

TPreviewWorker::~TPreviewWorker() {
  {
    const std::lock_guard lock(FLock);
    FStop = true;
  }
  FWake.notify_all();
  FThread.join();
}

void TPreviewWorker::SetDecoder(std::unique_ptr<TPreviewDecoder> decoder) {
  std::unique_ptr<TPreviewDecoder> old;
  {
    std::unique_lock lock(FLock);
    FWake.wait(lock, [this] { return !FStepping; });
    old = std::exchange(FDecoder, std::move(decoder));
    FPending.reset();
    FPictureNew = false;
  }
  FWake.notify_all();
}

bool TPreviewWorker::HasDecoder() const {
  const std::lock_guard lock(FLock);
  return FDecoder != nullptr;
}

void TPreviewWorker::Request(TPreviewRequest request) {
  {
    const std::lock_guard lock(FLock);
    FPending = std::make_unique<TPreviewRequest>(std::move(request));
  }
  FWake.notify_all();
}

bool TPreviewWorker::TakePicture(TPreviewPicture& picture) {
  const std::lock_guard lock(FLock);
  if (!FPictureNew) return false;
  FPictureNew = false;
  picture = std::move(FPicture);
  return true;
}

// Takes the newest request, then steps through it, looking for a newer one or a new
// film between the steps.
void TPreviewWorker::Run() {
  std::unique_lock lock(FLock);
  while (true) {
    FWake.wait(lock, [this] { return FStop || (FDecoder && (FPending || FDecoder->Busy())); });
    if (FStop) return;
    std::unique_ptr<TPreviewRequest> request = std::move(FPending);
    FStepping = true;
    lock.unlock();
    if (request) FDecoder->Request(std::move(*request));
    const bool ready = FDecoder->Step(kRecordsPerStep);
    lock.lock();
    FStepping = false;
    FWake.notify_all();
    if (!ready) continue;
    FPicture = FDecoder->Result();
    FPictureNew = true;
    lock.unlock();
    FReady();
    lock.lock();
  }
}
