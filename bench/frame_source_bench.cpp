// Per-frame work of the player at 770 x 695: read the record from the data file, lay
// it on the picture, take the pointer out and draw it again, as one tick with one
// sample per frame does. Two kinds of record: a typical screen change (a few hundred
// runs, mostly colour 0) and the worst case, one run per pixel. Each case also
// reports its time as a multiple of one memcpy of a frame (x_memcpy), so figures from
// machines of different speed compare.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "film/data_file.h"
#include "film/segment_list.h"
#include "playback/frame_source.h"

namespace {
constexpr int32_t kWidth = 770, kHeight = 695;
constexpr int32_t kPixels = kWidth * kHeight;
constexpr int32_t kRecords = 4;  // different records, read in turn

enum Kind { kTypical = 0, kRunPerPixel = 1 };

void PutI32(std::vector<uint8_t>& out, int32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(uint32_t(v) >> (8 * i)));
}
void PutU16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}
void PutRun(std::vector<uint8_t>& runs, uint32_t colour, uint16_t count) {
  runs.push_back(uint8_t(colour));
  runs.push_back(uint8_t(colour >> 8));
  runs.push_back(uint8_t(colour >> 16));
  PutU16(runs, count);
}

// Colour-0 stretches of at most 65535 pixels.
void PutUnchanged(std::vector<uint8_t>& runs, int64_t pixels, int32_t& count) {
  for (; pixels > 0; pixels -= 65535, ++count) PutRun(runs, 0, uint16_t(std::min<int64_t>(pixels, 65535)));
}

std::vector<uint8_t> Record(Kind kind, uint32_t seed) {
  std::vector<uint8_t> runs;
  int32_t count = 0;
  if (kind == kRunPerPixel) {
    for (int32_t i = 0; i < kPixels; ++i, ++count) PutRun(runs, (seed + uint32_t(i) * 2654435761u) >> 8, 1);
  } else {
    // 150 changed words of 12..40 pixels spread over the screen.
    const int64_t gap = kPixels / 150;
    int64_t at = 0;
    for (int32_t i = 0; i < 150; ++i) {
      const int64_t changed = 12 + (seed + uint32_t(i) * 7) % 29;
      PutUnchanged(runs, gap - changed, count);
      PutRun(runs, 0x00FFFFFF ^ (seed * uint32_t(i + 1)), uint16_t(changed));
      ++count;
      at += gap;
    }
    PutUnchanged(runs, kPixels - at, count);
  }
  std::vector<uint8_t> record;
  PutI32(record, int32_t(8 + runs.size()));
  PutI32(record, count);
  record.insert(record.end(), runs.begin(), runs.end());
  return record;
}

// A 32 x 32 monochrome pointer: a filled triangle, white inside a black edge.
std::vector<uint8_t> PointerRecord() {
  std::vector<uint8_t> r;
  PutI32(r, 0), PutI32(r, 0);
  PutI32(r, 4 * 64), PutI32(r, 32), PutI32(r, 64), r.push_back(1);
  for (int half = 0; half < 2; ++half)
    for (int y = 0; y < 32; ++y) {
      const uint32_t inside = y < 31 ? ~0u << (31 - y) : ~0u;  // leftmost y+1 pixels
      const uint32_t bits = half == 0 ? ~inside : (inside & (inside << 1));
      for (int b = 3; b >= 0; --b) r.push_back(uint8_t(bits >> (8 * b)));
    }
  PutI32(r, 0), PutI32(r, 0), PutI32(r, 0), r.push_back(0);
  return r;
}

// A loaded segment over a data file of kRecords records of one kind.
struct BenchSegment {
  std::filesystem::path path;
  TSegmentInfo segment;

  BenchSegment(Kind kind, int32_t depth) {
    path = std::filesystem::temp_directory_path() / ("rz_bench_" + std::to_string(kind) + "_" +
                                                     std::to_string(depth) + ".dat");
    std::vector<uint8_t> file;
    PutI32(file, 6);
    file.push_back(5);
    file.insert(file.end(), {'b', 'e', 'n', 'c', 'h'});
    const std::vector<uint8_t> pointer = PointerRecord();
    file.insert(file.end(), pointer.begin(), pointer.end());
    const size_t framesAt = file.size();
    for (int32_t i = 0; i < kRecords; ++i) {
      const std::vector<uint8_t> record = Record(kind, 0x9E3779B9u * uint32_t(i + 1));
      file.insert(file.end(), record.begin(), record.end());
    }
    const size_t trackAt = file.size();
    for (int32_t i = 0; i < kRecords; ++i) {
      PutU16(file, 0), PutU16(file, uint16_t(100 + 150 * i)), PutU16(file, uint16_t(80 + 140 * i));
    }
    {
      TkoFileStream out(path, kModeCreate);
      out.Write(file.data(), int32_t(file.size()));
    }
    segment.Width = kWidth;
    segment.Height = kHeight;
    segment.BitsPerPixel = uint8_t(depth);
    segment.FrameCount = kRecords;
    segment.FramesPerSecond = 10;
    const TDataFileSizes sizes{1, int32_t(trackAt - framesAt), int32_t(file.size() - trackAt), 0};
    WalkDataFile(std::make_unique<TkoFileStream>(path, kModeReadShared), path, sizes, segment);
  }
  ~BenchSegment() {
    segment.FrameStream.reset();
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
  }
};

// Seconds for one memcpy of a frame at the depth (rows padded to 4 bytes).
double MemcpySeconds(int32_t depth) {
  const size_t bytes = size_t(PaddedRowBytes(kWidth, depth)) * kHeight;
  std::vector<uint8_t> from(bytes, 1), to(bytes, 0);
  constexpr int kCopies = 200;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kCopies; ++i) {
    from[size_t(i)] = uint8_t(i);
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / kCopies;
}

void FrameWork(benchmark::State& state) {
  const Kind kind = Kind(state.range(0));
  const int32_t depth = int32_t(state.range(1));
  BenchSegment bench(kind, depth);
  TSegmentInfo& segment = bench.segment;
  if (segment.FrameStream == nullptr) {
    state.SkipWithError(("data file not accepted: " + segment.Problem).c_str());
    return;
  }
  TkoFrameSource frames;
  frames.PrepareDisplay(segment);
  frames.ClearPictures();
  frames.ResetFrameBuffer(segment);
  frames.ResetCursor();
  const double memcpySeconds = MemcpySeconds(depth);

  int64_t frame = 0;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    if (frame++ % kRecords == 0) {
      segment.FrameStream->SetPosition(segment.FirstFrameOffset);
      segment.CursorTrack.SetPosition(0);
    }
    frames.LoadFrame(segment);
    frames.RestoreCursor();
    frames.UnpackFrame(segment);
    frames.ApplyDifference(segment);
    frames.ReadCursorSample(segment);
    frames.SaveCursorBackground();
    frames.DrawCursor();
    frames.CommitCursor();
    benchmark::DoNotOptimize(frames.Picture().Pixels);
  }
  const double perFrame =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / double(state.iterations());
  state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["x_memcpy"] = perFrame / memcpySeconds;
  state.SetLabel(std::string(kind == kTypical ? "typical" : "run per pixel") + ", depth " + std::to_string(depth));
}
BENCHMARK(FrameWork)
    ->ArgNames({"kind", "depth"})
    ->Args({kTypical, 32})
    ->Args({kTypical, 24})
    ->Args({kRunPerPixel, 32})
    ->Args({kRunPerPixel, 24})
    ->Unit(benchmark::kMicrosecond);

// The bandwidth reference: one frame's memory copied.
void MemcpyFrame(benchmark::State& state) {
  const size_t bytes = size_t(PaddedRowBytes(kWidth, int32_t(state.range(0)))) * kHeight;
  std::vector<uint8_t> from(bytes, 1), to(bytes, 0);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}
BENCHMARK(MemcpyFrame)->ArgName("depth")->Arg(32)->Arg(24)->Unit(benchmark::kMicrosecond);
}  // namespace
