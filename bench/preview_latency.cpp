// rz_preview_bench FILM [--seconds S] [--previews N]: the progress bar's preview beside
// a playing engine, natively (the decoder, its worker thread and the engine are the
// Windows player's; only the window is missing).
//
// 1. The film is read once, as playback reads it (a seek to every segment's last frame).
// 2. N previews of random frames anywhere in the film, each asked as the mouse stops
//    there: the time until its exact picture is ready (the target is 50 ms).
// 3. The film plays at x1 with a clock of real time, in rounds of S seconds that take
//    turns: alone, then with the mouse sweeping along the bar (a new preview asked every
//    16 ms, the pictures taken as they come). For each: how late the ticks came after
//    their events were due, and the frames presented.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "film/film_loader.h"
#include "film/segment_list.h"
#include "film/temp_files.h"
#include "playback/playback_engine.h"
#include "playback/preview_worker.h"
#include "playback/quiet_services.h"
#include "playback/seek_target.h"

namespace {
using Clock = std::chrono::steady_clock;
double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct PacedTimer : TFrameTimer {
  bool Arm(uint32_t delayMs, uint32_t, uint32_t token) override {
    Due = Clock::now() + std::chrono::milliseconds(delayMs);
    Token = token;
    Armed = true;
    return true;
  }
  Clock::time_point Due;
  uint32_t Token = 0;
  bool Armed = false;
};

struct CountingPresenter : TFramePresenter {
  void LayOut() override {}
  void PresentWholeFrame() override { ++Frames; }
  void PresentCursorArea() override {}
  int64_t Frames = 0;
};

// The tick's 1 ms yield is a real one, as in the player.
struct BenchShell : TQuietShell {
  void ShowError(const std::string& text) override { std::fprintf(stderr, "playback: %s\n", text.c_str()); }
};

struct Percentiles {
  double Median = 0, P95 = 0, P99 = 0, Worst = 0, Mean = 0;
};
Percentiles Of(std::vector<double> values) {
  if (values.empty()) return {};
  std::sort(values.begin(), values.end());
  const auto at = [&](double share) { return values[std::min(values.size() - 1, size_t(share * values.size()))]; };
  double sum = 0;
  for (const double v : values) sum += v;
  return {at(0.5), at(0.95), at(0.99), values.back(), sum / double(values.size())};
}

// Every frame of the film that a preview can show, in film order.
std::vector<TFilmFrame> FilmFrames(const TSegmentList& segments) {
  std::vector<TFilmFrame> frames;
  for (int32_t i = 0; i < segments.Count(); ++i)
    if (const TSegmentInfo* segment = segments.Get(i); IsSeekable(segment))
      for (int32_t f = 0; f < segment->FrameCount; ++f) frames.push_back({i, f});
  return frames;
}

class Bench {
public:
  explicit Bench(TSegmentList& segments)
      : FSegments(segments),
        FEngine(TPlaybackServices{FTimer, FSound, FFrames, FPresenter, FShell, FEvents}),
        FWorker([this] {
          const std::lock_guard lock(FLock);
          ++FReady;
          FTold.notify_all();
        }) {
    FEngine.SetSegmentList(&FSegments);
    FWorker.SetDecoder(std::make_unique<TPreviewDecoder>(FSegments, 0));
    FFilmFrames = FilmFrames(FSegments);
  }

  void ReadOnce() {
    for (int32_t i = 0; i < FSegments.Count(); ++i)
      if (const TSegmentInfo* segment = FSegments.Get(i); IsSeekable(segment))
        FEngine.SeekTo(i, segment->FrameCount - 1);
    // Back to the start, or the first round would begin on the film's last frame and end it.
    FEngine.SeekTo(0, 0);
  }

  // The time from asking for a preview to its exact picture.
  Percentiles PreviewLatency(int previews) {
    std::mt19937 random(7);
    std::vector<double> latencies;
    for (int i = 0; i < previews; ++i) {
      const TFilmFrame at = FFilmFrames[random() % FFilmFrames.size()];
      const Clock::time_point start = Clock::now();
      Ask(at);
      TPreviewPicture picture;
      std::unique_lock lock(FLock);
      while (!(FWorker.TakePicture(picture) && picture.Exact && picture.Segment == at.Segment &&
               picture.Frame == at.Frame))
        FTold.wait_for(lock, std::chrono::milliseconds(5));
      latencies.push_back(Ms(Clock::now() - start));
    }
    return Of(latencies);
  }

  struct Round {
    std::vector<double> Lateness;
    int64_t Frames = 0;
    int64_t Previews = 0;
  };

  // Plays for seconds at x1 by the clock; with sweep the mouse moves along the bar.
  Round Play(double seconds, bool sweep) {
    Round round;
    const int64_t framesBefore = FPresenter.Frames;
    const Clock::time_point end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                     std::chrono::duration<double>(seconds));
    Clock::time_point nextMove = Clock::now();
    if (FEngine.State() != psPlaying) FEngine.Play();
    while (Clock::now() < end) {
      if (sweep && Clock::now() >= nextMove) {
        FSweep = (FSweep + 37) % FFilmFrames.size();  // about 200 pixels of bar over the film
        Ask(FFilmFrames[FSweep]);
        nextMove += std::chrono::milliseconds(16);
        TPreviewPicture picture;
        if (FWorker.TakePicture(picture)) ++round.Previews;
      }
      Clock::time_point wake = FTimer.Armed ? FTimer.Due : end;
      if (sweep) wake = std::min(wake, nextMove);
      std::this_thread::sleep_until(std::min(wake, end));
      if (!FTimer.Armed || Clock::now() < FTimer.Due) continue;
      round.Lateness.push_back(Ms(Clock::now() - FTimer.Due));
      FTimer.Armed = false;
      FEngine.Tick(FTimer.Token);
      if (std::exchange(FShell.NextPosted, false)) FEngine.Next();
      if (FEngine.State() == psStopped) FEngine.Play();
    }
    round.Frames = FPresenter.Frames - framesBefore;
    FWorker.Request({});
    return round;
  }

private:
  void Ask(TFilmFrame at) {
    FWorker.Request({at.Segment, at.Frame, kPreviewMaxWidth, FFrames.SeekIndex().Knowledge(*FSegments.Get(at.Segment))});
  }

  TSegmentList& FSegments;
  PacedTimer FTimer;
  TNoSound FSound;
  TkoFrameSource FFrames;
  CountingPresenter FPresenter;
  BenchShell FShell;
  TPlayerEvents FEvents;
  TPlaybackEngine FEngine;
  std::mutex FLock;
  std::condition_variable FTold;
  int FReady = 0;
  TPreviewWorker FWorker;
  std::vector<TFilmFrame> FFilmFrames;
  size_t FSweep = 0;
};

void PrintRounds(const char* what, const std::vector<Bench::Round>& rounds) {
  std::vector<double> lateness;
  int64_t frames = 0, previews = 0;
  for (const Bench::Round& round : rounds) {
    lateness.insert(lateness.end(), round.Lateness.begin(), round.Lateness.end());
    frames += round.Frames;
    previews += round.Previews;
  }
  const Percentiles late = Of(lateness);
  std::printf("%-26s %6zu ticks, late by mean %.2f ms, 99th %.2f ms, worst %.2f ms; %lld frames presented",
              what, lateness.size(), late.Mean, late.P99, late.Worst, static_cast<long long>(frames));
  if (previews > 0) std::printf("; %lld previews made", static_cast<long long>(previews));
  std::printf("\n");
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: rz_preview_bench FILM [--seconds S] [--previews N]\n");
    return 2;
  }
  double seconds = 5;
  int previews = 200;
  for (int i = 2; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--seconds") == 0) seconds = std::atof(argv[i + 1]);
    if (std::strcmp(argv[i], "--previews") == 0) previews = std::atoi(argv[i + 1]);
  }
  const std::filesystem::path folder = CreatePlayerTempFolder();
  {
    TSegmentList segments;
    TkoFileStream film(argv[1], kModeReadShared);
    TFilmLoader loader(segments, folder);
    if (!loader.LoadAppendedFilm(&film) && film.SetPosition(0) == 0) loader.LoadFilm(&film);
    Bench bench(segments);
    const Clock::time_point start = Clock::now();
    bench.ReadOnce();
    std::printf("film read once in %.0f ms\n", Ms(Clock::now() - start));
    const Percentiles latency = bench.PreviewLatency(previews);
    std::printf("%d previews of random frames: median %.1f ms, 95th %.1f ms, worst %.1f ms (target 50 ms)\n",
                previews, latency.Median, latency.P95, latency.Worst);
    std::vector<Bench::Round> alone, sweeping;
    for (int round = 0; round < 2; ++round) {
      alone.push_back(bench.Play(seconds, false));
      sweeping.push_back(bench.Play(seconds, true));
    }
    PrintRounds("playing alone:", alone);
    PrintRounds("playing, mouse sweeping:", sweeping);
  }
  RemovePlayerTempFolder(folder);
  return 0;
}
