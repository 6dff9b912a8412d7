#pragma once
// The activity model for a whole film, on a thread of its own: segment by segment, after
// a short wait that leaves the first picture to the film's start. The UI thread hands it
// the film's segments and takes what is done; the sound is decoded by what the platform
// offers (the decoder given). A segment whose sound is there but cannot be decoded may
// hold speech: it gets no idle stretches.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "playback/activity_model.h"
#include "playback/activity_source.h"

// What the worker needs of a segment, copied on the thread that owns the segment list.
struct TActivityJob {
  TActivitySource Source;
  std::filesystem::path Mp3File;  // empty: the segment has no MP3 sound
  int64_t ScreenPixels = 0;       // width x height
};

// Decodes an MP3 file into its levels; none when it cannot.
using TSoundLevelsDecoder = std::function<std::optional<TSoundLevels>(const std::filesystem::path&)>;

struct TActivityResult {
  TSegmentActivity Activity;
  int64_t ScreenPixels = 0;
  bool SoundUnknown = false;  // there is sound, but it could not be decoded
};

// One segment's activity, on the calling thread. Frames that cannot be read count as
// unchanged (as ReadActivityInput says); sound that cannot be decoded leaves the
// activity without idle stretches.
TActivityResult MeasureActivity(const TActivityJob& job, const TActivitySettings& settings,
                                const TSoundLevelsDecoder& decodeMp3, const std::atomic<bool>* cancel = nullptr);

class TActivityWorker {
public:
  // How long the worker waits after Start before it begins, so that the film's first
  // picture does not wait for it.
  static constexpr int32_t kStartDelayMs = 300;

  // ready is called on the worker's thread whenever a segment is done; it must do no more
  // than tell the UI thread (on Windows it posts a message).
  TActivityWorker(TSoundLevelsDecoder decodeMp3, std::function<void()> ready, int32_t startDelayMs = kStartDelayMs);
  ~TActivityWorker();
  TActivityWorker(const TActivityWorker&) = delete;
  TActivityWorker& operator=(const TActivityWorker&) = delete;

  // Works through these segments from now on; the work on the ones before stops, their
  // results are dropped, and their files are no longer read when this returns (call it,
  // with no jobs, before a film's segments and files go).
  void Start(std::vector<TActivityJob> jobs, const TActivitySettings& settings);
  // Moves out what was done since the last call.
  std::vector<TActivityResult> Take();

private:
  void Run();

  TSoundLevelsDecoder FDecode;
  std::function<void()> FReady;
  int32_t FStartDelayMs;
  std::mutex FLock;
  std::condition_variable FWake;
  std::vector<TActivityJob> FJobs;
  size_t FNext = 0;
  TActivitySettings FSettings;
  uint32_t FGeneration = 0;  // counts Start calls: a result of an older one is dropped
  std::vector<TActivityResult> FDone;
  bool FWorking = false;  // the thread reads a segment without the lock
  bool FStop = false;
  std::atomic<bool> FCancel{false};
  std::thread FThread;  // last: started when everything above is made
};
