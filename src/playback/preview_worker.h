#pragma once
// A TPreviewDecoder on a thread of its own. The UI thread hands it requests and takes
// its pictures; every exchange holds one lock for a copy at most, and the decoder runs
// without it, in steps of a few records, so a newer request or a new film is taken up
// within one step. The thread starts with the worker and ends with it.
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "playback/preview_decoder.h"

class TPreviewWorker {
public:
  // Records laid between two looks at the requests.
  static constexpr int32_t kRecordsPerStep = 16;

  // ready is called on the worker's thread whenever a picture is ready; it must do no
  // more than tell the UI thread (on Windows it posts a message).
  explicit TPreviewWorker(std::function<void()> ready);
  ~TPreviewWorker();
  TPreviewWorker(const TPreviewWorker&) = delete;
  TPreviewWorker& operator=(const TPreviewWorker&) = delete;

  // The decoder of the film now open (null: none). The old one, its files closed, is
  // gone when this returns: call it before the old film's segments and files go.
  void SetDecoder(std::unique_ptr<TPreviewDecoder> decoder);
  bool HasDecoder() const;
  // Replaces the request waiting or being worked on. A request for segment -1 stops
  // the work (the mouse left the bar).
  void Request(TPreviewRequest request);
  // Moves the picture made last into picture; false when none was made since.
  bool TakePicture(TPreviewPicture& picture);

private:
  void Run();

  std::function<void()> FReady;
  mutable std::mutex FLock;
  std::condition_variable FWake;
  std::unique_ptr<TPreviewDecoder> FDecoder;
  std::unique_ptr<TPreviewRequest> FPending;
  TPreviewPicture FPicture;
  bool FPictureNew = false;
  bool FStepping = false;  // the thread works on FDecoder without the lock
  bool FStop = false;
  std::thread FThread;  // last: started when everything above is made
};
