#pragma once
// The real frame source under the engine: a host that records what it is told, and a
// presenter that keeps every whole picture shown.
#include <string>
#include <vector>

#include "playback/frame_source.h"
#include "playback/playback_engine.h"

inline std::vector<uint32_t> Pixels(const TkoPictureView& view) {
  std::vector<uint32_t> pixels;
  for (int y = 0; y < view.Height; ++y)
    for (int x = 0; x < view.Width; ++x) pixels.push_back(PixelColour(view, x, y));
  return pixels;
}

class RecordingHost : public TFrameSourceHost {
public:
  int32_t DisplayDepth() const override { return Display; }
  void UnsupportedDepth(int32_t depth) override { Unsupported.push_back(depth); }
  void DamagedRecord(const std::string& text) override { Damage.push_back(text); }

  int32_t Display = 32;
  std::vector<int32_t> Unsupported;
  std::vector<std::string> Damage;
};

class PictureLog : public TFramePresenter {
public:
  struct Frame {
    int32_t Segment, Number;
    std::vector<uint32_t> Pixels;
  };
  explicit PictureLog(const TkoFrameSource& frames) : FFrames(frames) {}
  void LayOut() override {}
  void PresentWholeFrame() override {
    Shown.push_back({Engine->CurrentSegment(), Engine->ShownFrame(), Pixels(FFrames.Picture())});
  }
  void PresentCursorArea() override {}
  std::pair<int32_t, int32_t> LastShown() const { return {Shown.back().Segment, Shown.back().Number}; }

  const TPlaybackEngine* Engine = nullptr;
  std::vector<Frame> Shown;

private:
  const TkoFrameSource& FFrames;
};
