#pragma once
// The real frame source under the engine: a host that records what it is told, and a
// presenter that keeps every whole picture shown.
#include <span>
#include <string>
#include <vector>

#include "platform/presentation_plan.h"
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

// Keeps every whole picture shown, and shows the picture in a window of its own size as
// the GDI presenter does: whole after LayOut, else only the copies TkoShownPicture
// gives, which must leave the window showing the picture exactly.
class PictureLog : public TFramePresenter {
public:
  struct Frame {
    int32_t Segment, Number;
    std::vector<uint32_t> Pixels;
  };
  explicit PictureLog(TkoFrameSource& frames) : FFrames(frames) {}
  void LayOut() override { FShown.Invalidate(); }
  void PresentWholeFrame() override {
    const TkoPictureView& picture = FFrames.Picture();
    const TkoCursorOverlay& overlay = FFrames.Overlay();
    Show(FShown.FrameCopies(FFrames.TakeChangedArea(), overlay.NewPosition(), CursorSize(), {picture.Width, picture.Height},
                            {}, 10));
    Shown.push_back({Engine->CurrentSegment(), Engine->ShownFrame(), Pixels(picture)});
  }
  void PresentCursorArea() override {
    const TkoPictureView& picture = FFrames.Picture();
    const TkoCursorOverlay& overlay = FFrames.Overlay();
    Show(FShown.PointerCopies(overlay.NewPosition(), CursorSize(), {picture.Width, picture.Height}, {}));
  }
  std::pair<int32_t, int32_t> LastShown() const { return {Shown.back().Segment, Shown.back().Number}; }

  const TPlaybackEngine* Engine = nullptr;
  std::vector<Frame> Shown;
  int32_t WindowMismatches = 0;  // presentations after which the window differed from the picture

private:
  TkoSize CursorSize() const { return {FFrames.Overlay().LargestWidth(), FFrames.Overlay().LargestHeight()}; }
  void Show(const TkoBlits& copies) {
    const TkoPictureView& picture = FFrames.Picture();
    if (picture.IsEmpty()) return;
    if (FWindowWidth != picture.Width || FWindow.size() != size_t(picture.Width) * size_t(picture.Height)) {
      FWindow.assign(size_t(picture.Width) * size_t(picture.Height), 0xFF000000);  // not a colour: never copied
      FWindowWidth = picture.Width;
    }
    for (const TkoBlit& copy : std::span(copies.Items, size_t(copies.Count)))
      for (int32_t y = copy.Source.Y; y < copy.Source.Y + copy.Source.Height; ++y)
        for (int32_t x = copy.Source.X; x < copy.Source.X + copy.Source.Width; ++x)
          FWindow[size_t(y) * size_t(picture.Width) + size_t(x)] = PixelColour(picture, x, y);
    WindowMismatches += FWindow != Pixels(picture);
  }

  TkoFrameSource& FFrames;
  TkoShownPicture FShown;
  std::vector<uint32_t> FWindow;
  int32_t FWindowWidth = 0;
};
