#include "playback/activity_model.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
// Every position is counted in units of 1 / (1000 x F x S) s: frames, pointer samples,
// sound windows, slices and the idle length all fall on whole units.
struct TClock {
  int64_t PerSecond;  // 1000 x F x S
  int64_t PerFrame;   // 1000 x S
  int64_t PerSample;  // 1000
  int64_t PerMillisecond;  // F x S

  double Seconds(int64_t units) const { return double(units) / double(PerSecond); }
};

// Activity from From to To (equal for an instant).
struct TBusy {
  int64_t From = 0, To = 0;
  bool operator<(const TBusy& other) const { return From < other.From; }
};

constexpr int32_t kCancelCheck = 4096;

bool Cancelled(const std::atomic<bool>* cancel) {
  return cancel != nullptr && cancel->load(std::memory_order_relaxed);
}

class TActivityWalk {
public:
  TActivityWalk(const TActivityInput& input, const TActivitySettings& settings, const std::atomic<bool>* cancel)
      : FInput(input), FSettings(settings), FCancel(cancel),
        FClock{1000 * int64_t{input.FramesPerSecond} * input.SamplesPerFrame, 1000 * int64_t{input.SamplesPerFrame},
               1000, int64_t{input.FramesPerSecond} * input.SamplesPerFrame},
        FEnd(static_cast<int64_t>(input.Frames.size()) * FClock.PerFrame),
        FSliceLength(std::max<int64_t>(1, int64_t{std::max(settings.SliceMilliseconds, 1)} * FClock.PerMillisecond)) {}

  TSegmentActivity Run() {
    TSegmentActivity result;
    result.Segment = FInput.Segment;
    result.Seconds = FClock.Seconds(FEnd);
    result.HasSound = FInput.Sound.has_value();
    const auto slices = static_cast<size_t>((FEnd + FSliceLength - 1) / FSliceLength);
    result.Slices.resize(slices);
    for (size_t j = 0; j < slices; ++j) {
      TActivitySlice& slice = result.Slices[j];
      slice.From = FClock.Seconds(int64_t(j) * FSliceLength);
      slice.To = FClock.Seconds(std::min(FEnd, int64_t(j + 1) * FSliceLength));
      slice.SoundDb = -std::numeric_limits<float>::infinity();
    }
    result.Complete = AddFrames(result) && AddPointer(result) && AddSound(result);
    if (result.Complete && !FInput.SoundUnknown) FindIdle(result);
    return result;
  }

private:
  TActivitySlice& SliceAt(TSegmentActivity& result, int64_t at) const {
    return result.Slices[static_cast<size_t>(at / FSliceLength)];
  }

  bool AddFrames(TSegmentActivity& result) {
    for (size_t k = 0; k < FInput.Frames.size(); ++k) {
      if (k % kCancelCheck == 0 && Cancelled(FCancel)) return false;
      const TkoRecordChange& change = FInput.Frames[k];
      if (change.ChangedPixels == 0) continue;
      const int64_t at = int64_t(k) * FClock.PerFrame;
      TActivitySlice& slice = SliceAt(result, at);
      slice.ChangedPixels += change.ChangedPixels;
      slice.ChangedArea = BoundingUnion(slice.ChangedArea, change.Area);
      FBusy.push_back({at, at});
    }
    return true;
  }

  // A sample counts where it differs from the one before; the first is where the
  // pointer starts, no change.
  bool AddPointer(TSegmentActivity& result) {
    const size_t shown = std::min(FInput.Pointer.size(), static_cast<size_t>(FEnd / FClock.PerSample));
    for (size_t i = 1; i < shown; ++i) {
      if (i % kCancelCheck == 0 && Cancelled(FCancel)) return false;
      const TkoCursorSample& before = FInput.Pointer[i - 1];
      const TkoCursorSample& now = FInput.Pointer[i];
      const bool moved = now.X != before.X || now.Y != before.Y;
      const bool reshaped = now.Index != before.Index;
      if (!moved && !reshaped) continue;
      const int64_t at = int64_t(i) * FClock.PerSample;
      TActivitySlice& slice = SliceAt(result, at);
      if (moved) slice.PointerTravel += std::hypot(double(now.X) - before.X, double(now.Y) - before.Y);
      slice.ShapeChanges += reshaped;
      FBusy.push_back({at, at});
    }
    return true;
  }

  bool AddSound(TSegmentActivity& result) {
    if (!FInput.Sound) return true;
    const int64_t window = int64_t{std::max(FInput.Sound->WindowMilliseconds, 1)} * FClock.PerMillisecond;
    const int64_t step = int64_t{std::max(FInput.Sound->StepMilliseconds, 1)} * FClock.PerMillisecond;
    const std::vector<float>& levels = FInput.Sound->Db;
    for (size_t w = 0; w < levels.size() && int64_t(w) * step < FEnd; ++w) {
      if (w % kCancelCheck == 0 && Cancelled(FCancel)) return false;
      const int64_t from = int64_t(w) * step;
      TActivitySlice& slice = SliceAt(result, from);
      slice.SoundDb = std::max(slice.SoundDb, levels[w]);
      if (levels[w] >= FSettings.SilenceFloorDb) FBusy.push_back({from, std::min(from + window, FEnd)});
    }
    return true;
  }

  // The gaps between the activity that last at least the idle length.
  void FindIdle(TSegmentActivity& result) {
    std::stable_sort(FBusy.begin(), FBusy.end());
    const int64_t idle = int64_t{std::max(FSettings.IdleMilliseconds, 0)} * FClock.PerMillisecond;
    int64_t quietFrom = 0;
    const auto close = [&](int64_t quietTo) {
      if (quietTo - quietFrom >= idle && quietTo > quietFrom) AddStretch(result, quietFrom, quietTo);
    };
    for (const TBusy& busy : FBusy) {
      close(busy.From);
      quietFrom = std::max(quietFrom, busy.To);
    }
    close(FEnd);
  }

  void AddStretch(TSegmentActivity& result, int64_t from, int64_t to) {
    result.Idle.push_back({FInput.Segment, FClock.Seconds(from), FClock.Seconds(to)});
    for (int64_t j = (from + FSliceLength - 1) / FSliceLength; j * FSliceLength < to; ++j)
      if (std::min(FEnd, (j + 1) * FSliceLength) <= to) result.Slices[static_cast<size_t>(j)].Idle = true;
  }

  const TActivityInput& FInput;
  const TActivitySettings& FSettings;
  const std::atomic<bool>* FCancel;
  const TClock FClock;
  const int64_t FEnd;
  const int64_t FSliceLength;
  std::vector<TBusy> FBusy;
};
}  // namespace

TSegmentActivity ComputeActivity(const TActivityInput& input, const TActivitySettings& settings,
                                 const std::atomic<bool>* cancel) {
  if (input.FramesPerSecond <= 0 || input.SamplesPerFrame < 1) {
    TSegmentActivity none;
    none.Segment = input.Segment;
    none.HasSound = input.Sound.has_value();
    return none;
  }
  return TActivityWalk(input, settings, cancel).Run();
}
