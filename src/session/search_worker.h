#pragma once
// Find on screen away from the window's thread: the index is read and searched on a
// thread of its own, so that a large index or a long search never holds up the picture
// or the keys. The newest request wins: a query typed while another is searched replaces
// it, and nothing of a film opened before the last Open is answered.
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "session/screen_search.h"

class TSearchWorker {
public:
  // ready is called on the worker's thread each time an answer waits to be taken.
  explicit TSearchWorker(std::function<void()> ready);
  TSearchWorker(const TSearchWorker&) = delete;
  TSearchWorker& operator=(const TSearchWorker&) = delete;
  // Lets the request at work finish (a search is bounded) and drops the others.
  ~TSearchWorker();

  // Reads the index beside film; the query asked last is searched in it again.
  void Open(const std::filesystem::path& film);
  void Find(std::string query);
  // The newest answer not yet taken.
  std::optional<TSearchAnswer> Take();

private:
  void Run();

  std::function<void()> FReady;
  std::mutex FLock;
  std::condition_variable FWake;
  std::optional<std::filesystem::path> FOpenAsked;
  std::optional<std::string> FFindAsked;
  // Opens asked for so far; an answer counts only when none was asked after its own.
  uint64_t FOpens = 0;
  std::optional<TSearchAnswer> FAnswer;
  bool FStopping = false;
  TScreenSearch FSearch;  // the worker's own
  std::thread FThread;    // last: it starts once everything above is made
};
