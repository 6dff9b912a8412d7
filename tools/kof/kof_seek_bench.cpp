// kof bench FILM --seek [--seeks N] [--budget MIB]: seeking as the player seeks. For
// every playable segment, from its first frame: the first seek to its last frame (the
// records all read for the first time), then N random seeks (1,000 unless told) with
// their median and worst time, the seek index's pictures and offsets, and the memory
// the seeks took beyond what showing the first frame took.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "kof_common/film_report.h"
#include "kof_common/kof_commands.h"
#include "kof_common/kof_session.h"
#include "playback/headless_player.h"

namespace {
constexpr double kMiB = 1024.0 * 1024.0;

struct TSeekOptions {
  int32_t Seeks = 1000;
  size_t Budget = TkoSeekIndex::kDefaultBudget;
};

bool ParseCount(const std::string& text, long low, long high, long& value) {
  char* end = nullptr;
  value = std::strtol(text.c_str(), &end, 10);
  return end != text.c_str() && *end == '\0' && value >= low && value <= high;
}

bool ParseSeekOptions(const Arguments& args, TSeekOptions& options) {
  for (size_t i = 1; i < args.size(); ++i) {
    long value = 0;
    if (args[i] == "--seek") continue;
    if (i + 1 >= args.size()) return false;
    if (args[i] == "--seeks" && ParseCount(args[i + 1], 1, 10000000, value)) {
      options.Seeks = static_cast<int32_t>(value);
    } else if (args[i] == "--budget" && ParseCount(args[i + 1], 0, 1 << 20, value)) {
      options.Budget = static_cast<size_t>(value) << 20;
    } else {
      return false;
    }
    ++i;
  }
  return true;
}

// A line of /proc/self/status in KiB ("VmRSS:", "VmHWM:"); -1 when it cannot be read.
long StatusKiB(const std::string& key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.compare(0, key.size(), key) == 0) return std::strtol(line.c_str() + key.size(), nullptr, 10);
  return -1;
}

// Starts measuring the peak resident memory anew (Linux: clear_refs 5).
bool ResetPeakMemory() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.flush();
  return static_cast<bool>(clear);
}

double Milliseconds(std::chrono::steady_clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

// The processor time this thread has used, in milliseconds: on a busy machine it
// leaves out the time other programs had the processor.
double ThreadMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

struct TSeekTime {
  double Wall = -1;  // negative: the seek failed
  double Processor = 0;
};

// Times one seek; prints the failure when it fails.
TSeekTime TimedSeek(THeadlessPlayer& player, int32_t segment, int32_t frame) {
  const double processor = ThreadMilliseconds();
  const auto start = std::chrono::steady_clock::now();
  const std::string failure = player.Seek(segment, frame);
  const TSeekTime time{Milliseconds(std::chrono::steady_clock::now() - start), ThreadMilliseconds() - processor};
  if (failure.empty()) return time;
  std::fprintf(stderr, "kof: segment %d, frame %d: %s\n", segment + 1, frame, failure.c_str());
  return {};
}

void PrintSpread(const char* what, std::vector<double>& times) {
  std::sort(times.begin(), times.end());
  std::printf("median %.2f ms, worst %.2f ms (%s)", times[times.size() / 2], times.back(), what);
}

bool BenchSegment(THeadlessPlayer& player, const TSegmentInfo& segment, int32_t index, const TSeekOptions& options) {
  const int32_t frames = segment.FrameCount;
  std::printf("segment %d: %d frames, %d x %d x %d\n", index + 1, frames, segment.Width, segment.Height,
              int(segment.BitsPerPixel));
  if (TimedSeek(player, index, 0).Wall < 0) return false;
  const long baseKiB = StatusKiB("VmRSS:");
  const bool measured = baseKiB >= 0 && ResetPeakMemory();
  const TSeekTime first = TimedSeek(player, index, frames - 1);
  if (first.Wall < 0) return false;
  std::printf("  first seek to the last frame: %.1f ms (processor %.1f ms)\n", first.Wall, first.Processor);

  std::mt19937 random(20240601u + static_cast<uint32_t>(index));
  std::uniform_int_distribution<int32_t> pick(0, frames - 1);
  std::vector<double> wall, processor;
  for (int32_t i = 0; i < options.Seeks; ++i) {
    const TSeekTime time = TimedSeek(player, index, pick(random));
    if (time.Wall < 0) return false;
    wall.push_back(time.Wall);
    processor.push_back(time.Processor);
  }
  std::printf("  %d random seeks: ", options.Seeks);
  PrintSpread("clock", wall);
  std::printf("; ");
  PrintSpread("processor", processor);
  std::printf("\n");

  const TkoSeekIndex& seekIndex = player.SeekIndex();
  std::printf("  kept pictures: %d of this segment, %.1f MiB of all segments (at most %.1f MiB) of a %.1f MiB "
              "budget; record offsets %.1f KiB\n",
              seekIndex.PictureCount(segment), double(seekIndex.PictureBytes()) / kMiB,
              double(seekIndex.PeakPictureBytes()) / kMiB, double(seekIndex.Budget()) / kMiB,
              double(seekIndex.OffsetBytes()) / 1024.0);
  const double frameMiB = double(segment.Width) * segment.Height * 4 / kMiB;
  const long peakKiB = measured ? StatusKiB("VmHWM:") : -1;
  if (peakKiB >= 0)
    std::printf("  memory: peak %.1f MiB above showing the first frame; budget + two frames: %.1f MiB\n",
                double(peakKiB - baseKiB) / 1024.0, double(seekIndex.Budget()) / kMiB + 2 * frameMiB);
  else
    std::printf("  memory: not measured (no /proc/self)\n");
  return true;
}
}  // namespace

int RunSeekBench(const Arguments& args) {
  TSeekOptions options;
  if (args.empty() || !ParseSeekOptions(args, options)) {
    std::fputs("usage: kof bench FILM --seek [--seeks N] [--budget MIB]\n", stderr);
    return kExitUsage;
  }
  KofSession session;
  if (!session.Load(args[0])) return kExitBadFilm;
  THeadlessPlayer player(session.segments);
  player.SetSeekBudget(options.Budget);
  int32_t benched = 0;
  for (int32_t i = 0; i < session.segments.Count(); ++i) {
    const TSegmentInfo* segment = session.segments.Get(i);
    if (segment == nullptr || !segment->Playable() || segment->FrameCount < 1 ||
        !IsDrawableDepth(segment->BitsPerPixel))
      continue;
    if (!BenchSegment(player, *segment, i, options)) return kExitBadFilm;
    ++benched;
  }
  if (!player.Damage().empty()) std::fprintf(stderr, "kof: %s\n", player.Damage().c_str());
  if (benched == 0) {
    std::fputs("kof: the film has no playable segment\n", stderr);
    return kExitBadFilm;
  }
  return kExitOk;
}
