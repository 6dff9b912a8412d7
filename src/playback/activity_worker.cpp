#include "playback/activity_worker.h"

#include <chrono>
#include <utility>

TActivityResult MeasureActivity(const TActivityJob& job, const TActivitySettings& settings,
                                const TSoundLevelsDecoder& decodeMp3, const std::atomic<bool>* cancel) {
  TActivityInput input;
  ReadActivityInput(job.Source, input, cancel);
  TActivityResult result;
  result.ScreenPixels = job.ScreenPixels;
  if (!job.Mp3File.empty()) {
    if (decodeMp3) input.Sound = decodeMp3(job.Mp3File);
    input.SoundUnknown = !input.Sound.has_value();
    result.SoundUnknown = input.SoundUnknown;
  }
  result.Activity = ComputeActivity(input, settings, cancel);
  return result;
}

TActivityWorker::TActivityWorker(TSoundLevelsDecoder decodeMp3, std::function<void()> ready, int32_t startDelayMs)
    : FDecode(std::move(decodeMp3)), FReady(std::move(ready)), FStartDelayMs(startDelayMs), FThread([this] { Run(); }) {}

TActivityWorker::~TActivityWorker() {
  {
    const std::lock_guard lock(FLock);
    FStop = true;
    FCancel = true;
  }
  FWake.notify_all();
  FThread.join();
}

void TActivityWorker::Start(std::vector<TActivityJob> jobs, const TActivitySettings& settings) {
  {
    std::unique_lock lock(FLock);
    FCancel = true;
    FWake.wait(lock, [this] { return !FWorking; });
    FCancel = false;
    FJobs = std::move(jobs);
    FNext = 0;
    FSettings = settings;
    ++FGeneration;
    FDone.clear();
  }
  FWake.notify_all();
}

std::vector<TActivityResult> TActivityWorker::Take() {
  const std::lock_guard lock(FLock);
  return std::exchange(FDone, {});
}

// Waits out the start delay of every new set of jobs (a newer set starts it anew), then
// measures one segment at a time without the lock.
void TActivityWorker::Run() {
  std::unique_lock lock(FLock);
  uint32_t delayed = 0;
  while (true) {
    FWake.wait(lock, [this] { return FStop || FNext < FJobs.size(); });
    if (FStop) return;
    const uint32_t generation = FGeneration;
    if (delayed != generation) {
      delayed = generation;
      FWake.wait_for(lock, std::chrono::milliseconds(FStartDelayMs), [&] { return FStop || FGeneration != generation; });
      continue;
    }
    const TActivityJob job = FJobs[FNext++];
    const TActivitySettings settings = FSettings;
    FWorking = true;
    lock.unlock();
    TActivityResult result = MeasureActivity(job, settings, FDecode, &FCancel);
    lock.lock();
    FWorking = false;
    FWake.notify_all();
    if (generation != FGeneration || !result.Activity.Complete) continue;
    FDone.push_back(std::move(result));
    lock.unlock();
    FReady();
    lock.lock();
  }
}
