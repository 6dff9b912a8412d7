#include "kof_export/batch_workers.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "film/ko_error.h"
#include "kof_export/progress_line.h"

// A running worker and the read ends of its two pipes (-1 once they ended).
struct BatchWorkers::Worker {
  size_t job;
  pid_t pid;
  int messages, progress;
  std::string messageText, progressText;  // the part of a line that has come so far
};

struct BatchWorkers::Shared {};

namespace {
// Reads what the pipe holds and hands on each whole line; at the pipe's end also the
// rest, and closes it (fd becomes -1).
void ReadLines(int& fd, std::string& pending, const std::function<void(const std::string&)>& onLine) {
  char buffer[4096];
  const ssize_t got = ::read(fd, buffer, sizeof(buffer));
  if (got < 0 && errno == EINTR) return;
  if (got > 0) pending.append(buffer, static_cast<size_t>(got));
  for (size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1))
    onLine(pending.substr(0, end));
  if (got > 0) return;
  if (!pending.empty()) onLine(pending);
  pending.clear();
  ::close(fd);
  fd = -1;
}

bool Ready(const std::vector<pollfd>& polled, int fd) {
  return fd >= 0 && std::any_of(polled.begin(), polled.end(),
                                [fd](const pollfd& p) { return p.fd == fd && p.revents != 0; });
}

[[noreturn]] void FailToStart(int error) { throw EkoError(std::strerror(error)); }
}  // namespace

BatchWorkers::BatchWorkers() = default;
BatchWorkers::~BatchWorkers() = default;

void BatchWorkers::Start(size_t job, const WorkerTask& task) {
  int messages[2], progress[2];
  if (::pipe(messages) != 0) FailToStart(errno);
  if (::pipe(progress) != 0) {
    const int error = errno;
    ::close(messages[0]);
    ::close(messages[1]);
    FailToStart(error);
  }
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    // The worker: the film's work, its standard error and its progress going to the
    // batch, no other worker's pipe held open.
    for (const auto& other : FWorkers) {
      if (other->messages >= 0) ::close(other->messages);
      if (other->progress >= 0) ::close(other->progress);
    }
    ::close(messages[0]);
    ::close(progress[0]);
    ::dup2(messages[1], STDERR_FILENO);
    ::close(messages[1]);
    std::signal(SIGPIPE, SIG_IGN);  // a batch that is gone makes writes fail, not the worker end
    ProgressLine::ReportTo(progress[1]);
    const int code = task.run();
    std::fflush(nullptr);
    ::_exit(code);
  }
  const int forkError = errno;
  ::close(messages[1]);
  ::close(progress[1]);
  if (pid < 0) {
    ::close(messages[0]);
    ::close(progress[0]);
    FailToStart(forkError);
  }
  FWorkers.push_back(std::make_unique<Worker>(Worker{job, pid, messages[0], progress[0], "", ""}));
}

void BatchWorkers::Wait(int ms, const LineHandler& onMessage, const LineHandler& onProgress) {
  std::vector<pollfd> polled;
  for (const auto& w : FWorkers)
    for (const int fd : {w->messages, w->progress})
      if (fd >= 0) polled.push_back({fd, POLLIN, 0});
  if (::poll(polled.data(), polled.size(), ms) <= 0) return;
  for (const auto& w : FWorkers) {
    const size_t job = w->job;
    if (Ready(polled, w->messages))
      ReadLines(w->messages, w->messageText, [&](const std::string& line) { onMessage(job, line); });
    if (Ready(polled, w->progress))
      ReadLines(w->progress, w->progressText, [&](const std::string& line) { onProgress(job, line); });
  }
}

std::vector<WorkerEnd> BatchWorkers::TakeEnded() {
  std::vector<WorkerEnd> ended;
  for (auto w = FWorkers.begin(); w != FWorkers.end();) {
    if ((*w)->messages >= 0 || (*w)->progress >= 0) {
      ++w;
      continue;
    }
    int status = 0;
    while (::waitpid((*w)->pid, &status, 0) < 0 && errno == EINTR) {
    }
    std::string how;
    if (WIFSIGNALED(status))
      how = "ended by signal " + std::to_string(WTERMSIG(status)) + " (" + strsignal(WTERMSIG(status)) + ")";
    ended.push_back({(*w)->job, (*w)->pid, WIFEXITED(status) && WEXITSTATUS(status) == 0, how});
    w = FWorkers.erase(w);
  }
  return ended;
}

void BatchWorkers::PassOn(int signal) {
  for (const auto& w : FWorkers) ::kill(w->pid, signal);
}

// Workers are forks of the batch here; nothing starts one by its command line.
int RunAsWorker(const Arguments&, const std::function<int(const Arguments&)>&) {
  std::fputs("usage: kof-export worker is for a batch on Windows\n", stderr);
  return kExitUsage;
}
