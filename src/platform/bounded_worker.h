#pragma once
// Runs jobs one at a time on a thread of its own and waits for each for at most a given
// time, for calls into code that may never return (a system driver that deadlocks).
// A job that does not end in time keeps its thread, which is given up: nothing waits
// for it again, and the next job gets a new thread. A job must therefore own all it
// touches (copies, shared pointers), never the caller's stack.
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

class TBoundedWorker {
public:
  TBoundedWorker() = default;
  TBoundedWorker(const TBoundedWorker&) = delete;
  TBoundedWorker& operator=(const TBoundedWorker&) = delete;
  // Ends the thread, which is idle between jobs; a given-up thread is left to itself.
  ~TBoundedWorker();

  // Runs job and returns true when it ended within limit; false when the thread was
  // given up on it.
  bool Run(std::function<void()> job, std::chrono::milliseconds limit);
  // How many threads were given up so far.
  int GivenUp() const { return FGivenUp; }

private:
  struct TLane;
  static void Serve(const std::shared_ptr<TLane>& lane);
  void Start();

  std::shared_ptr<TLane> FLane;
  std::thread FThread;
  int FGivenUp = 0;
};
